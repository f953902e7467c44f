// src/capture/flood.cpp
// Elapsed times are differences of 32-bit ticks read as signed 32-bit numbers, so a
// burst survives the tick wrapping. Every threshold is strict, and the tick is read
// afresh at each step, as the decision has always done.
#include "capture/flood.h"

#include <cstring>

#include "capture/state.h"
#include "logview/log_view.h"
#include "texts.h"

namespace {
int32_t Elapsed(uint32_t now, uint32_t since) {
    return static_cast<int32_t>(now - since);
}

void EmptyCounters(FloodState& f) {
    f.repeatCounters.clear();
    f.keyBytes = 0;
}

void MakeRoom(FloodState& f) {
    for (auto it = f.repeatCounters.begin(); it != f.repeatCounters.end();) {
        if (it->second == 0) {
            f.keyBytes -= it->first.size();
            it = f.repeatCounters.erase(it);
        } else {
            ++it;
        }
    }
    if (f.repeatCounters.size() > kRepeatCountersMaxEntries / 2 || f.keyBytes > kRepeatCountersMaxKeyBytes / 2) {
        EmptyCounters(f);
    }
}

// The text's counter, inserted at 0 when absent.
int32_t& Counter(FloodState& f, const std::string& text) {
    auto it = f.repeatCounters.find(text);
    if (it != f.repeatCounters.end()) return it->second;
    if (f.repeatCounters.size() >= kRepeatCountersMaxEntries || f.keyBytes + text.size() > kRepeatCountersMaxKeyBytes) {
        MakeRoom(f);
    }
    f.keyBytes += text.size();
    return f.repeatCounters.emplace(text, 0).first->second;
}
}  // namespace

Outcome FloodDecide(const std::string& text) {
    FloodState& f = Capture().flood;
    Outcome outcome = Outcome::Show;
    uint32_t now = TickNow();
    if (Elapsed(now, f.lastMessageTime) > kBurstGapMs) {
        f.burstStartTime = now;
        EmptyCounters(f);
    }
    now = TickNow();
    if (Elapsed(now, f.burstStartTime) > kSuppressAfterMs) {
        outcome = Counter(f, text) == 0 ? Outcome::Show : Outcome::Drop;
    }
    now = TickNow();
    if (Elapsed(now, f.burstStartTime) > kCountAfterMs) {
        int32_t& counter = Counter(f, text);
        if (counter < INT32_MAX) ++counter;  // saturates: 2^31 arrivals in one burst
    }
    f.lastMessageTime = TickNow();
    now = TickNow();
    if (outcome == Outcome::Drop && Elapsed(now, f.lastNoticeTime) > kNoticeEveryMs) {
        f.lastNoticeTime = now;
        outcome = Outcome::RepeatNotice;
    }
    return outcome;
}

bool CountErrors() {
    MonitorState& m = Monitor();
    if (!std::strstr(m.displayBuffer, kErrorPrefix)) return false;
    m.errorCount.fetch_add(1);
    return true;
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

void WriteRepeatNotice(int replays, EntryKind replayKind, int64_t time) {
    WriteEntry({kRepeatNotice, time, EntryKind::Note});
    for (int i = 0; i < replays; ++i)
        WriteEntry({Monitor().displayBuffer, time, replayKind});
}

void ErrorCutOff(int64_t time) {
    MonitorState& m = Monitor();
    if (m.errorCount.load() <= kErrorCutOff) return;
    RunOnUi([time] { WriteEntry({kCutOffNotice, time, EntryKind::Note}); });
    if (m.receiving.load()) ToggleReception();
}
