// src/logview/log_view.cpp
#include "logview/log_view.h"

#include <cstring>

#include "logview/auto_scroll.h"
#include "logview/filter.h"
#include "logview/render.h"
#include "logview/rich_edit.h"
#include "logview/state.h"
#include "logview/zoom.h"
#include "texts.h"

namespace {
bool Passes(const ViewState& v, const Entry& entry) {
    // A marker stands between two runs whatever the filter lets through.
    return entry.kind == EntryKind::Marker || v.filterText.empty() || FilterMatch(entry.text, v.filterText);
}

// The log-view append once the filter has been asked (shown is null when it said no):
// the caret to the end, a scroll by the entries the history holds, the entry, a repaint.
void AppendAtEnd(ViewState& v, const Entry* shown) {
    SelectEnd(v.handle);
    ScrollLines(v.handle, static_cast<intptr_t>(History().size()));
    if (shown) {
        const Rendered r = RenderEntry(*shown, v.options, v.colours.lines, v.rendered, v.scratch);
        InsertText(v.handle, r.text, r.colour);
    }
    RepaintNow(v.handle);
}

void Rebuild(const HeldPlace& held) {
    ViewState& v = Log().view;
    if (!v.handle) return;
    intptr_t top = 0;
    bool formatted = true;
    {
        const OwnChange own(v);
        // Painted once at the end, not line by line: the whole rebuild holds every writer
        // of debug output, and a writer gives up after 10 s (Wine's rich edit paints 800
        // lines in about 10 s).
        const RedrawPaused paused(v.handle);
        SelectRange(v.handle, 0, 0);
        EmptyText(v.handle);
        formatted = SendDefaultFormat(v.handle, LogViewTwips(kLogViewHeightTwips));
        v.rendered = RenderState{};
        // By index and on a copy: a message box shown from in here would let other work in.
        // An entry that passed is appended without asking the filter twice, which doubled
        // the cost of an expensive pattern and could not change the answer.
        const FilterBatch batch;
        for (size_t i = 0; i < History().size(); ++i) {
            const Entry entry = History()[i];
            if (Passes(v, entry)) AppendAtEnd(v, &entry);
        }
        if (held.held) top = RestorePlace(v, held);
    }
    if (held.held) {
        KeepTopLine(v.handle, top);
    } else {
        ScrollLines(v.handle, LineCount(v.handle));  // to the end, lines wrapped or not
    }
    RepaintNow(v.handle);
    if (!formatted) ShowError(v.handle, kCharFormatFailed);
}
}  // namespace

void SetLogView(WindowRef view) {
    Log().view.handle = view;
}
WindowRef LogView() {
    return Log().view.handle;
}

void SetFilterText(const char* text) {
    Log().view.filterText.assign(text, strnlen(text, kFilterTextSize - 1));
}
const std::string& FilterText() {
    return Log().view.filterText;
}

void LogViewAppend(const Entry& entry) {
    ViewState& v = Log().view;
    // After the window's teardown the monitor thread may still hand over a message.
    if (!v.handle) return;
    const bool passes = Passes(v, entry);
    if (v.autoScroll) {
        AppendAtEnd(v, passes ? &entry : nullptr);
    } else if (passes) {
        AppendHoldingStill(v, RenderEntry(entry, v.options, v.colours.lines, v.rendered, v.scratch));
    }
}

void WriteEntry(Entry entry) {
    HistoryAppend(std::move(entry));
    LogViewAppend(History().back());
}

void WriteNote(const char* text) {
    HistoryTrim();
    WriteEntry({text, LocalClockMs(), EntryKind::Note});
}

void ReRender(const HeldPlace& held) {
    Rebuild(held);
}

void HistoryTrim() {
    if (History().size() <= kHistoryTrimAbove) return;
    const HeldPlace held = HoldPlace(Log().view);
    CutHistoryBack();
    Rebuild(held);
}

void ClearLog() {
    ViewState& v = Log().view;
    SelectRange(v.handle, 0, 0);
    EmptyText(v.handle);
    const bool formatted = SendDefaultFormat(v.handle, LogViewTwips(kLogViewHeightTwips));
    ClearHistory();
    v.rendered = RenderState{};
    RepaintNow(v.handle);
    if (!formatted) ShowError(v.handle, kCharFormatFailed);
}

CharFormat MakeDefaultCharFormat(int32_t heightTwips) {
    CharFormat f{};
    f.cbSize = sizeof(CharFormat);
    f.dwMask = 0xE800000F;  // size, colour, face, charset, bold, italic, underline, strike-out
    f.dwEffects = 0;
    f.yHeight = heightTwips;
    f.yOffset = 0;
    f.crTextColor = Log().view.colours.text;
    f.bCharSet = 128;  // SHIFTJIS_CHARSET
    f.bPitchAndFamily = 0;
    std::memcpy(f.szFaceName, kFontFace, sizeof kFontFace);
    return f;
}

bool SendDefaultFormat(WindowRef control, int32_t heightTwips) {
    CharFormat f = MakeDefaultCharFormat(heightTwips);
    return SendToWindow(control, kEmSetCharFormat, 3, reinterpret_cast<intptr_t>(&f)) != 0;
}

int ApplyDefaultFormat(WindowRef control, int32_t heightTwips) {
    if (SendDefaultFormat(control, heightTwips)) return 1;
    ShowError(control, kCharFormatFailed);
    return 0;
}

int ApplyLogViewDefaultFormat() {
    return ApplyDefaultFormat(Log().view.handle, LogViewTwips(kLogViewHeightTwips));
}
