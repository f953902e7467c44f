// src/capture/flood.cpp
// Elapsed times are differences of 32-bit ticks read as signed 32-bit numbers, so a
// burst survives the tick wrapping. Every threshold is strict, and the tick is read
// afresh at each step, as the decision has always done.
#include "capture/flood.h"

#include <cstring>

#include "capture/state.h"
#include "logview/history.h"
#include "texts.h"

namespace {
int32_t Elapsed(uint32_t now, uint32_t since) {
    return static_cast<int32_t>(now - since);
}
}  // namespace

Outcome FloodDecide(const std::string& text) {
    FloodState& f = Capture().flood;
    Outcome outcome = Outcome::Show;
    uint32_t now = TickNow();
    if (Elapsed(now, f.lastMessageTime) > kBurstGapMs) {
        f.burstStartTime = now;
        f.repeatCounters.clear();
    }
    now = TickNow();
    if (Elapsed(now, f.burstStartTime) > kSuppressAfterMs) {
        outcome = f.repeatCounters[text] == 0 ? Outcome::Show : Outcome::Drop;
    }
    now = TickNow();
    if (Elapsed(now, f.burstStartTime) > kCountAfterMs) ++f.repeatCounters[text];
    f.lastMessageTime = TickNow();
    now = TickNow();
    if (outcome == Outcome::Drop && Elapsed(now, f.lastNoticeTime) > kNoticeEveryMs) {
        f.lastNoticeTime = now;
        outcome = Outcome::RepeatNotice;
    }
    return outcome;
}

void CountErrors() {
    MonitorState& m = Monitor();
    if (std::strstr(m.displayBuffer, kErrorPrefix)) m.errorCount.fetch_add(1);
}

int TakeReplays() {
    int replays = 0;
    for (auto& [key, counter] : Capture().flood.repeatCounters) {
        if (counter > 0) {
            --counter;
            ++replays;
        }
    }
    return replays;
}

void WriteRepeatNotice(int replays) {
    WriteText(kRepeatNotice);
    for (int i = 0; i < replays; ++i)
        WriteText(Monitor().displayBuffer);
}

void ErrorCutOff() {
    MonitorState& m = Monitor();
    if (m.errorCount.load() <= kErrorCutOff) return;
    RunOnUi([] { WriteText(kCutOffNotice); });
    if (m.receiving.load()) ToggleReception();
}
