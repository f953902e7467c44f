// tests/fuzz/pipeline_fuzz.cpp
// Arbitrary sequences of what can happen to the monitor: messages from the host and from
// other writers (lines, fragments, the restart marker, error lines, repeats, long and
// UTF-8 texts), the tick moving by 0 ms to minutes, filter changes, clear, stop/resume and
// the shared-message library coming and going. After every step the invariants below
// must hold.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "capture/flood.h"
#include "logview/filter.h"
#include "stand_in_monitor.h"

namespace {
constexpr uint32_t kHost = 4242;
constexpr uint32_t kOther = 77;

// Ordinary patterns: what the view shows is then a function of the history alone.
const char* const kFilters[] = {"", "err", "^a", "a$", "(", "\x88\xEA", ".", "x{2}", "KUMOGATAERR", "\\d+\\n"};
// Enough for two trims, a flood's notices and the repeat counters' bound; past it, an input
// only repeats what it already did (inputs of 20,000 steps and more took most of the time).
constexpr size_t kMaxSteps = 4000;
const uint32_t kSteps[] = {0, 1, 100, 500, 799, 800, 801, 1999, 2000, 2001, 3000, 3001, 8000, 8001, 60000, 600000};

[[noreturn]] void Broken(const char* what) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

void Record(const char* text) {
    if (std::strlen(text) > 511) Broken("a forwarded text longer than 511 bytes");
}

// The check runs after every step, so it is kept out of what steers the fuzzer (no
// coverage of its own) and cheap: a step that only appends is checked from what the last
// step left, not over the whole history again, and the filter is asked once per entry
// (repeated steps had made the whole-history check nearly all of the fuzzer's time).
#define KG_CHECKER __attribute__((no_sanitize("coverage")))

// Each filter's answer for each entry, kept by index beside a copy of the entry it was
// given for (a trim shifts the entries, which only costs fresh answers).
struct Answer {
    std::string entry;
    bool passes = false;
};
// What the last check found right: the history's first `entries` entries, under
// `filter`, make the view's text `view`.
struct Verified {
    size_t entries = 0;
    std::string filter;
    std::string view;
    std::map<std::string, std::vector<Answer>> answers;  // by filter
};
Verified gVerified;

KG_CHECKER bool Passes(size_t index, const std::string& entry, const std::string& filter) {
    if (filter.empty()) return true;
    std::vector<Answer>& answers = gVerified.answers[filter];
    if (answers.size() <= index) answers.resize(index + 1);
    Answer& a = answers[index];
    if (a.entry != entry) a = {entry, FilterMatch(entry, filter)};
    return a.passes;
}

// The view's line ends: each LF with the CRs before it, and each other CR, is one LF.
KG_CHECKER std::string AsShown(const std::string& text) {
    std::string shown;
    for (size_t i = 0; i < text.size(); ++i) {
        const size_t lf = text.find_first_not_of('\r', i);
        if (text[i] == '\r' && lf != std::string::npos && text[lf] == '\n') i = lf;
        shown += text[i] == '\r' ? '\n' : text[i];
    }
    return shown;
}

KG_CHECKER void CheckView(const StandInControl& view) {
    const std::vector<Entry>& history = History();
    const std::string& filter = FilterText();
    Verified& v = gVerified;
    // Only a clear and a trim take entries away, and a trim only comes with output while
    // there are more than kHistoryTrimAbove: short of that, with the same filter, and the
    // view still beginning with what was checked, the entries after the checked ones are
    // all that is new.
    const bool appended = filter == v.filter && v.entries < kHistoryTrimAbove && history.size() >= v.entries &&
                          view.text.compare(0, v.view.size(), v.view) == 0;
    size_t at = appended ? v.view.size() : 0;  // the view is the entries that pass, in order, and nothing else
    for (size_t i = appended ? v.entries : 0; i < history.size(); ++i) {
        const std::string& entry = history[i].text;
        if (entry.size() > 511) Broken("a history entry longer than 511 bytes");
        if (!Passes(i, entry, filter)) continue;
        std::string converted;
        const std::string& shown = entry.find('\r') == std::string::npos ? entry : (converted = AsShown(entry));
        if (view.text.compare(at, shown.size(), shown) != 0) Broken("the view differs from the history");
        at += shown.size();
    }
    if (at != view.text.size()) Broken("the view holds more than the history's entries that pass");
    v.entries = history.size();
    v.filter = filter;
    if (appended) {
        v.view.append(view.text, v.view.size());
    } else {
        v.view = view.text;
    }
}

KG_CHECKER void Check(const StandInControl& view, const StandInControl& button, size_t countersBefore) {
    CheckView(view);
    const std::vector<Entry>& history = History();
    // A trim keeps at most 800 before a message's output; that output is the message or a
    // notice with one replay per counter, then perhaps the cut-off and a restart notice.
    if (history.size() > kHistoryTrimAbove + countersBefore + 4) Broken("the history outgrew its trim");
    const FloodState& f = Capture().flood;
    size_t keyBytes = 0;
    for (const auto& [key, counter] : f.repeatCounters) {
        if (counter < 0) Broken("a negative repeat counter");
        keyBytes += key.size();
    }
    if (f.repeatCounters.size() > kRepeatCountersMaxEntries || keyBytes != f.keyBytes ||
        keyBytes > kRepeatCountersMaxKeyBytes) {
        Broken("the repeat counters outgrew their bound");
    }
    const MonitorState& m = Monitor();
    if (m.pendingText.size() > kPendingTextLimit) Broken("the pending text outgrew its bound");
    if (m.errorCount.load() < 0) Broken("a negative error count");
    if (button.caption != (m.receiving.load() ? kCaptionStop : kCaptionResume)) Broken("the caption lies");
}

ssize_t DropWrite(void*, const char*, size_t size) {
    return static_cast<ssize_t>(size);
}

std::string Utf8Text(FuzzedDataProvider& in) {
    std::string out;
    for (int n = in.ConsumeIntegralInRange(1, 40); n > 0; --n) {
        const uint32_t cp = in.ConsumeIntegralInRange<uint32_t>(0x20, 0x10FFFF);
        if (cp >= 0xD800 && cp <= 0xDFFF) continue;
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out + "\n";
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The header lines go to standard output; here they would only bury the fuzzer's own,
    // and a stream that drops them costs no system call per message as /dev/null did.
    static bool init = (FilterInit(), stdout = fopencookie(nullptr, "w", {nullptr, DropWrite, nullptr, nullptr}), true);
    (void)init;
    static StandInControl view, button;
    static StandInLibrary library;
    library.exports["SetSharedMessage"] = reinterpret_cast<void*>(&Record);
    view = StandInControl{};
    view.record = false;
    button = StandInControl{};
    ResetStandInMonitor(view, button);

    FuzzedDataProvider in(data, size);
    std::string last = "first\n";
    auto receive = [](const std::string& text, bool fromHost) {
        ReceiveFrom(fromHost ? kHost : kOther, text.c_str(), fromHost);
    };
    size_t steps = 0;
    auto step = [&](uint8_t op) {
        ++steps;
        const size_t countersBefore = Capture().flood.repeatCounters.size();
        switch (op) {
            case 0:  // a host line, up to what the channel holds
                last = in.ConsumeRandomLengthString(4091) + "\n";
                receive(last, true);
                break;
            case 1:  // a fragment: whatever it holds, no line end added
                receive(in.ConsumeRandomLengthString(600), true);
                break;
            case 2:
                receive(in.ConsumeRandomLengthString(600) + "\n", false);
                break;
            case 3:
                receive(kRestartMarker, in.ConsumeBool());
                break;
            case 4:
                receive(std::string(kErrorPrefix) + in.ConsumeRandomLengthString(40) + "\n", true);
                break;
            case 5:
                receive(last, true);
                break;
            case 6:
                receive(Utf8Text(in), true);
                break;
            case 7:
                AdvanceTick(in.ConsumeBool() ? kSteps[in.ConsumeIntegralInRange<size_t>(0, std::size(kSteps) - 1)]
                                             : in.ConsumeIntegralInRange<uint32_t>(0, 300000));
                break;
            case 8:
                SetFilterText(kFilters[in.ConsumeIntegralInRange<size_t>(0, std::size(kFilters) - 1)]);
                ReRender();
                break;
            case 9:
                ClearLog();
                break;
            case 10:
                ToggleReception();
                break;
            default:
                PlaceLibrary(kSharedLibraryPath, in.ConsumeBool() ? &library : nullptr);
                break;
        }
        Check(view, button, countersBefore);
    };
    auto more = [&] { return in.remaining_bytes() > 0 && steps < kMaxSteps; };
    while (more()) {
        const uint8_t op = in.ConsumeIntegral<uint8_t>() % 13;
        if (op < 12) {
            step(op);
            continue;
        }
        // The next one to four steps, many times over (floods, bursts, alternations).
        uint8_t ops[4];
        const int length = in.ConsumeIntegralInRange(1, 4);
        const int times = in.ConsumeIntegralInRange(1, 1000);
        for (int i = 0; i < length; ++i)
            ops[i] = in.ConsumeIntegral<uint8_t>() % 12;
        for (int k = 0; k < times && more(); ++k) {
            for (int i = 0; i < length; ++i)
                step(ops[i]);
        }
    }
    // Everything this input made is given back: libFuzzer runs an input a second time,
    // looking for a leak, whenever it ends with more allocations than frees.
    ResetStandInMonitor(view, button);
    view = button = StandInControl{};
    gVerified = {};
    return 0;
}
