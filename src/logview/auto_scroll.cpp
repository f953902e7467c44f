// src/logview/auto_scroll.cpp
// Places are kept as the control's own positions, which count characters and its paragraph
// ends as it keeps them, never as bytes or lines counted here: so they hold with wrap on
// and whatever line ends the writers sent.
#include "logview/auto_scroll.h"

#include <algorithm>
#include <vector>

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

// The first line of each paragraph: a line that a line end ends, not the view's width, has
// room for that end between it and the next line.
std::vector<intptr_t> ParagraphStarts(WindowRef view) {
    std::vector<intptr_t> starts{0};
    const intptr_t lines = LineCount(view);
    for (intptr_t line = 0; line + 1 < lines; ++line) {
        const intptr_t at = LineStart(view, line);
        if (LineStart(view, line + 1) > at + LineLength(view, at)) starts.push_back(line + 1);
    }
    return starts;
}

struct ParagraphPlace {
    intptr_t fromEnd, column;
};
ParagraphPlace PlaceOf(WindowRef view, const std::vector<intptr_t>& starts, intptr_t position) {
    const intptr_t line = LineOfPosition(view, position);
    const size_t p = static_cast<size_t>(std::upper_bound(starts.begin(), starts.end(), line) - starts.begin()) - 1;
    return {static_cast<intptr_t>(starts.size() - p), position - LineStart(view, starts[p])};
}

// Where a held place is now; a column stays inside its paragraph, and a paragraph no longer
// there is the text's start.
intptr_t PositionOf(WindowRef view, const std::vector<intptr_t>& starts, intptr_t fromEnd, intptr_t column) {
    const auto count = static_cast<intptr_t>(starts.size());
    if (fromEnd > count || fromEnd < 1) return 0;
    const size_t p = static_cast<size_t>(count - fromEnd);
    const intptr_t first = LineStart(view, starts[p]);
    const intptr_t lastLine = p + 1 < starts.size() ? starts[p + 1] - 1 : LineCount(view) - 1;
    const intptr_t end = LineStart(view, lastLine) + LineLength(view, LineStart(view, lastLine));
    return std::clamp(first + column, first, end);
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
    if (v.autoScroll) return {};
    return PlaceNow(v);
}

HeldPlace PlaceNow(const ViewState& v) {
    if (!v.handle) return {};
    const intptr_t end = TextEnd(v.handle);
    const Selection s = UserSelection(v);
    return {true, false, 0, end - LineStart(v.handle, FirstVisibleLine(v.handle)), end - s.anchor, end - s.active};
}

HeldPlace HoldParagraphs(const ViewState& v, intptr_t columnShift) {
    if (v.autoScroll || !v.handle) return {};
    const std::vector<intptr_t> starts = ParagraphStarts(v.handle);
    const Selection s = UserSelection(v);
    const ParagraphPlace top = PlaceOf(v.handle, starts, LineStart(v.handle, FirstVisibleLine(v.handle)));
    const ParagraphPlace anchor = PlaceOf(v.handle, starts, s.anchor), active = PlaceOf(v.handle, starts, s.active);
    return {true,           true,       columnShift,   top.fromEnd,  anchor.fromEnd,
            active.fromEnd, top.column, anchor.column, active.column};
}

intptr_t RestorePlace(ViewState& v, const HeldPlace& held) {
    intptr_t top = 0;
    Selection s;
    if (held.byParagraph) {
        const std::vector<intptr_t> starts = ParagraphStarts(v.handle);
        // A line's first character stays first: the prefix comes before it, or went.
        auto shifted = [&](intptr_t column) { return column ? std::max<intptr_t>(0, column + held.columnShift) : 0; };
        top = LineOfPosition(v.handle, PositionOf(v.handle, starts, held.topFromEnd, shifted(held.topColumn)));
        s = {PositionOf(v.handle, starts, held.anchorFromEnd, held.anchorColumn + held.columnShift),
             PositionOf(v.handle, starts, held.activeFromEnd, held.activeColumn + held.columnShift)};
    } else {
        const intptr_t end = TextEnd(v.handle);
        top = held.topFromEnd <= end ? LineOfPosition(v.handle, end - held.topFromEnd) : 0;
        s = {end - held.anchorFromEnd, end - held.activeFromEnd};
        if (std::min(s.anchor, s.active) < 0) s.anchor = s.active = LineStart(v.handle, top);
    }
    Restore(v, s);
    ScrollToLine(v.handle, top);
    return top;
}

void KeepTopLine(WindowRef view, intptr_t line) {
    ScrollToLine(view, line);
}

RelayoutHeld::RelayoutHeld(ViewState& v) : view(v) {
    if (view.handle) topText = LineStart(view.handle, FirstVisibleLine(view.handle));
}

RelayoutHeld::~RelayoutHeld() {
    if (!view.handle) return;
    if (view.autoScroll) {
        ScrollLines(view.handle, LineCount(view.handle));
    } else {
        KeepTopLine(view.handle, LineOfPosition(view.handle, topText));
    }
    RepaintNow(view.handle);
}
