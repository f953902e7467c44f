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

// The user's place before a trim rebuilds the view, counted back from the text's end (the
// trim drops text from the front only); nothing is held while auto-scroll is on.
struct HeldPlace {
    bool held = false;
    intptr_t topFromEnd = 0;
    intptr_t anchorFromEnd = 0, activeFromEnd = 0;
};
HeldPlace HoldPlace(const ViewState& view);
// After the rebuild: the same text at the top if it is still there, else the first line;
// the selection likewise, else the caret at the start of the top line. Gives the top line.
intptr_t RestorePlace(ViewState& view, const HeldPlace& held);
// With redraw back on: reads the first visible line and scrolls back if it moved. Windows'
// rich edit may carry out the scroll a selection change asked for only now.
void KeepTopLine(WindowRef view, intptr_t line);

// While alive, the selection changes the view reports are our own, not the user's.
struct OwnChange {
    explicit OwnChange(ViewState& v) : view(v) { view.changing = true; }
    ~OwnChange() { view.changing = false; }
    OwnChange(const OwnChange&) = delete;
    OwnChange& operator=(const OwnChange&) = delete;
    ViewState& view;
};
