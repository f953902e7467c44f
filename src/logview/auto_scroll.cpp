// src/logview/auto_scroll.cpp
// Places are kept as the control's own positions, which count characters and its paragraph
// ends as it keeps them, never as bytes or lines counted here: so they hold with wrap on
// and whatever line ends the writers sent.
#include "logview/auto_scroll.h"

#include <algorithm>

#include "logview/rich_edit.h"

namespace {
// Its ends in order (EM_GETSEL), as if made forwards.
Selection SelectionNow(WindowRef view) {
    uint32_t start = 0, end = 0;
    GetSelectionRange(view, &start, &end);
    return {static_cast<intptr_t>(start), static_cast<intptr_t>(end)};
}

void ScrollToLine(WindowRef view, intptr_t line) {
    const intptr_t now = FirstVisibleLine(view);
    if (now != line) ScrollLines(view, line - now);
}

// The selection now; with the direction the user gave it while it is the one the control
// reported last. EM_GETSEL gives its ends in order only.
Selection UserSelection(const ViewState& v) {
    const Selection now = SelectionNow(v.handle);
    const Selection& s = v.selection;
    if (std::min(s.anchor, s.active) == now.anchor && std::max(s.anchor, s.active) == now.active) return s;
    return now;
}

// EM_SETSEL takes the anchor first and the active end second (its documentation: "The
// start value is the anchor point of the selection, and the end value is the active end").
void Restore(ViewState& v, const Selection& s) {
    SelectRange(v.handle, s.anchor, s.active);
    v.selection = s;
}
}  // namespace

bool AutoScroll() {
    return Log().view.autoScroll;
}

void SetAutoScroll(bool on) {
    ViewState& v = Log().view;
    const bool was = v.autoScroll;
    v.autoScroll = on;
    if (on == was || !v.handle) return;
    // Only while it is off does the direction of a selection matter: arrivals keep it.
    const intptr_t mask = EventMask(v.handle);
    SetEventMask(v.handle, on ? mask & ~kEnmSelChange : mask | kEnmSelChange);
    if (!on) {
        v.selection = SelectionNow(v.handle);
        return;
    }
    SelectEnd(v.handle);
    ScrollLines(v.handle, LineCount(v.handle));
    RepaintNow(v.handle);
}

void NoteSelectionChange(intptr_t start, intptr_t end) {
    ViewState& v = Log().view;
    if (v.changing || v.autoScroll) return;
    Selection& s = v.selection;
    if (start == s.anchor) {
        s.active = end;
    } else if (end == s.anchor) {
        s.active = start;
    } else {
        s = {start, end};  // a new selection: a click, a word, all of it
    }
}

void AppendHoldingStill(ViewState& v, const Rendered& text) {
    const Selection user = UserSelection(v);
    const intptr_t top = FirstVisibleLine(v.handle);
    {
        const OwnChange own(v);
        // The caret's visit to the end, and the scrolling it brings, are never painted.
        const RedrawPaused paused(v.handle);
        SelectEnd(v.handle);
        InsertText(v.handle, text.text, text.colour);
        Restore(v, user);
        ScrollToLine(v.handle, top);
    }
    KeepTopLine(v.handle, top);
    RepaintNow(v.handle);
}

HeldPlace HoldPlace(const ViewState& v) {
    if (v.autoScroll || !v.handle) return {};
    const intptr_t end = TextEnd(v.handle);
    const Selection s = UserSelection(v);
    return {true, end - LineStart(v.handle, FirstVisibleLine(v.handle)), end - s.anchor, end - s.active};
}

intptr_t RestorePlace(ViewState& v, const HeldPlace& held) {
    const intptr_t end = TextEnd(v.handle);
    const intptr_t top = held.topFromEnd <= end ? LineOfPosition(v.handle, end - held.topFromEnd) : 0;
    Selection s{end - held.anchorFromEnd, end - held.activeFromEnd};
    if (std::min(s.anchor, s.active) < 0) s.anchor = s.active = LineStart(v.handle, top);
    Restore(v, s);
    ScrollToLine(v.handle, top);
    return top;
}

void KeepTopLine(WindowRef view, intptr_t line) {
    ScrollToLine(view, line);
}
