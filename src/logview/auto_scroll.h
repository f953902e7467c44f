// src/logview/auto_scroll.h
// Auto-scroll, the user's choice, and the user's place in the view while it is off. On (at
// start) every arrival moves the caret to the end and scrolls, as the log view always has.
// Off, arrivals are still appended, but the caret, the selection (its anchor and its active
// end) and the first visible line stay where the user left them. The functions that hold
// the place are handed the view; they know nothing of the history. UI thread only.
#pragma once
#include <cstdint>

#include "logview/render.h"
#include "logview/state.h"

bool AutoScroll();
// On goes to the end of the view at once; off follows the user's selection from then on.
void SetAutoScroll(bool on);

// The control reports a changed selection (EN_SELCHANGE, its ends in order): the end that
// stayed where it was is the anchor, the other one the end the user moves.
void NoteSelectionChange(intptr_t start, intptr_t end);

// Appends rendered text at the end, leaving the user's place as it is.
void AppendHoldingStill(ViewState& view, const Rendered& text);

// The user's place before a rebuild; nothing is held while auto-scroll is on. A trim drops
// text from the front only, so its place is counted back from the text's end. A choice that
// changes every line's prefix (the time) keeps the paragraphs: its place is counted in
// paragraphs back from the end and characters into them, each column moved by the prefix.
struct HeldPlace {
    bool held = false;
    bool byParagraph = false;
    intptr_t columnShift = 0;
    intptr_t topFromEnd = 0;
    intptr_t anchorFromEnd = 0, activeFromEnd = 0;
    intptr_t topColumn = 0, anchorColumn = 0, activeColumn = 0;
};
HeldPlace HoldPlace(const ViewState& view);
HeldPlace HoldParagraphs(const ViewState& view, intptr_t columnShift);
// The place now, whatever auto-scroll: for a rebuild that gives back the same text.
HeldPlace PlaceNow(const ViewState& view);
// After the rebuild: the same text at the top if it is still there, else the first line;
// the selection likewise, else the caret at the start of the top line. Gives the top line.
intptr_t RestorePlace(ViewState& view, const HeldPlace& held);
// With redraw back on: reads the first visible line and scrolls back if it moved. Windows'
// rich edit may carry out the scroll a selection change asked for only now.
void KeepTopLine(WindowRef view, intptr_t line);

// While alive, the selection changes the view reports are our own, not the user's.
struct OwnChange {
    explicit OwnChange(ViewState& v) : view(v), was(v.changing) { view.changing = true; }
    ~OwnChange() { view.changing = was; }
    OwnChange(const OwnChange&) = delete;
    OwnChange& operator=(const OwnChange&) = delete;
    ViewState& view;
    bool was;
};

// Across a change of how many lines the text takes (wrap, the zoom, the DPI): the text at
// the top stays at the top or, with auto-scroll on, the view stays at its end.
struct RelayoutHeld {
    explicit RelayoutHeld(ViewState& v);
    ~RelayoutHeld();
    RelayoutHeld(const RelayoutHeld&) = delete;
    RelayoutHeld& operator=(const RelayoutHeld&) = delete;
    ViewState& view;
    intptr_t topText = 0;
};
