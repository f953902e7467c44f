// src/logview/history.cpp
// Serialisation: the history, the filter text and the view are touched only on the UI
// thread. The monitor thread hands its work over with RunOnUiThread, a synchronous
// window message, so there is no lock here and none can be held across a send.
#include "logview/history.h"

#include <cstring>

#include "logview/auto_scroll.h"
#include "logview/filter.h"
#include "logview/zoom.h"
#include "texts.h"

namespace {
struct LogViewState {
    std::vector<std::string> history;
    std::string filterText;
    WindowRef view = nullptr;
};
LogViewState& State() {
    static LogViewState& state = *new LogViewState;  // outlives the monitor thread
    return state;
}

bool PassesFilter(std::string_view text) {
    const std::string& filter = State().filterText;
    return filter.empty() || FilterMatch(text, filter);
}
}  // namespace

void SetLogView(WindowRef view) {
    State().view = view;
}
WindowRef LogView() {
    return State().view;
}

void SetFilterText(const char* text) {
    State().filterText.assign(text, strnlen(text, kFilterTextSize - 1));
}
const std::string& FilterText() {
    return State().filterText;
}

void HistoryAppend(const char* text) {
    State().history.emplace_back(text);
}
const std::vector<std::string>& History() {
    return State().history;
}

namespace {
// The log-view append once the filter has been asked.
void AppendTested(WindowRef view, const char* text, bool passes) {
    const intptr_t length = SendToWindow(view, kWmGetTextLength, 0, 0);
    SendToWindow(view, kEmSetSel, static_cast<uintptr_t>(length), length);
    SendToWindow(view, kEmLineScroll, 0, static_cast<intptr_t>(State().history.size()));
    if (passes) SendToWindow(view, kEmReplaceSel, 0, reinterpret_cast<intptr_t>(text));
    RepaintNow(view);
}
}  // namespace

void LogViewAppend(WindowRef view, const char* text) {
    // After the window's teardown the monitor thread may still hand over a message.
    if (!view) return;
    const bool passes = PassesFilter(text);
    if (AutoScroll()) {
        AppendTested(view, text, passes);
    } else if (passes) {
        AppendHoldingStill(view, text);
    }
}

namespace {
// A trim with auto-scroll off holds the user's place across the rebuild.
void Rebuild(const HeldPlace& held) {
    LogViewState& s = State();
    if (!s.view) return;
    // Painted once at the end, not line by line: the whole rebuild holds every writer of
    // debug output, and a writer gives up after 10 s (Wine's rich edit paints 800 lines
    // in about 10 s).
    SendToWindow(s.view, kWmSetRedraw, 0, 0);
    SendToWindow(s.view, kEmSetSel, 0, 0);
    SendToWindow(s.view, kWmSetText, 0, 0);
    ApplyLogViewDefaultFormat();
    // By index and on a copy: a message box shown from in here would let other work in.
    // An entry that passed is appended without asking the filter twice, which doubled
    // the cost of an expensive pattern and could not change the answer.
    const FilterBatch batch;
    for (size_t i = 0; i < s.history.size(); ++i) {
        const std::string entry = s.history[i];
        if (PassesFilter(entry)) AppendTested(s.view, entry.c_str(), true);
    }
    RestorePlace(s.view, held);
    SendToWindow(s.view, kWmSetRedraw, 1, 0);
    InvalidateWhole(s.view);
    if (!held.held) SendToWindow(s.view, kEmLineScroll, 0, static_cast<intptr_t>(s.history.size()));
    RepaintNow(s.view);
}
}  // namespace

void ReRender() {
    Rebuild(HeldPlace{});
}

void HistoryTrim() {
    std::vector<std::string>& h = State().history;
    if (h.size() <= kHistoryTrimAbove) return;
    const HeldPlace held = HoldPlace(State().view);
    h.erase(h.begin(), h.end() - kHistoryKeep);
    Rebuild(held);
}

void ClearLog() {
    LogViewState& s = State();
    SendToWindow(s.view, kEmSetSel, 0, 0);
    SendToWindow(s.view, kWmSetText, 0, 0);
    ApplyLogViewDefaultFormat();
    s.history.clear();
    RepaintNow(s.view);
}

CharFormat MakeDefaultCharFormat(int32_t heightTwips) {
    CharFormat f{};
    f.cbSize = sizeof(CharFormat);
    f.dwMask = 0xE800000F;  // size, colour, face, charset, bold, italic, underline, strike-out
    f.dwEffects = 0;
    f.yHeight = heightTwips;
    f.yOffset = 0;
    f.crTextColor = 0x00FFFFFF;
    f.bCharSet = 128;  // SHIFTJIS_CHARSET
    f.bPitchAndFamily = 0;
    std::memcpy(f.szFaceName, kFontFace, sizeof kFontFace);
    return f;
}

int ApplyDefaultFormat(WindowRef control, int32_t heightTwips) {
    CharFormat f = MakeDefaultCharFormat(heightTwips);
    if (SendToWindow(control, kEmSetCharFormat, 3, reinterpret_cast<intptr_t>(&f)) == 0) {
        ShowError(control, kCharFormatFailed);
        return 0;
    }
    return 1;
}

int ApplyLogViewDefaultFormat() {
    return ApplyDefaultFormat(State().view, LogViewTwips(kLogViewHeightTwips));
}

void WriteText(const char* text) {
    HistoryAppend(text);
    LogViewAppend(State().view, text);
}

void ResetLogViewState() {
    LogViewState& s = State();
    s.history.clear();
    s.filterText.clear();
    s.view = nullptr;
    FilterReset();
    ResetAutoScroll();
}
