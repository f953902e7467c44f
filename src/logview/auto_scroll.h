// src/logview/auto_scroll.h
// Auto-scroll, the user's choice. On (at start) every arrival moves the caret to the end
// and scrolls, as the log view always has. Off, arrivals are still appended, but the caret,
// the selection and the first visible line stay where the user left them. UI thread only.
#pragma once
#include <cstdint>

#include "platform/platform.h"

bool AutoScroll();
// Turning it on goes to the end of the view at once.
void SetAutoScroll(bool on);

// Appends a text that passed the filter, leaving the user's place in the view as it is.
void AppendHoldingStill(WindowRef view, const char* text);

// The user's place, by lines, before a trim rebuilds the view; nothing is held while
// auto-scroll is on.
struct HeldPlace {
    bool held = false;
    intptr_t lineCount = 0;
    intptr_t topLine = 0;
    intptr_t startLine = 0, startColumn = 0;
    intptr_t endLine = 0, endColumn = 0;
};
HeldPlace HoldPlace(WindowRef view);
// After the rebuild, which showed only the old view's later lines: the same text at the
// top if it is still there, else the first line; the selection likewise, else the caret
// at the start of the top line.
void RestorePlace(WindowRef view, const HeldPlace& held);

void ResetAutoScroll();  // through ResetLogViewState
