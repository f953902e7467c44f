// src/logview/auto_scroll.cpp
// Places are kept in lines and columns, which the view itself counts: the view's positions
// count characters, the history holds bytes, and a trim drops whole entries from the front.
#include "logview/auto_scroll.h"

#include <algorithm>

#include "logview/history.h"

namespace {
bool gAutoScroll = true;

void ScrollToLine(WindowRef view, intptr_t line) {
    const intptr_t now = SendToWindow(view, kEmGetFirstVisibleLine, 0, 0);
    if (now != line) SendToWindow(view, kEmLineScroll, 0, line - now);
}

void LineAndColumn(WindowRef view, uint32_t position, intptr_t* line, intptr_t* column) {
    *line = SendToWindow(view, kEmExLineFromChar, 0, position);
    *column = static_cast<intptr_t>(position) - SendToWindow(view, kEmLineIndex, static_cast<uintptr_t>(*line), 0);
}

intptr_t PositionAt(WindowRef view, intptr_t line, intptr_t column) {
    return SendToWindow(view, kEmLineIndex, static_cast<uintptr_t>(line), 0) + column;
}
}  // namespace

bool AutoScroll() {
    return gAutoScroll;
}

void SetAutoScroll(bool on) {
    const bool was = gAutoScroll;
    gAutoScroll = on;
    WindowRef view = LogView();
    if (!on || was || !view) return;
    const intptr_t length = SendToWindow(view, kWmGetTextLength, 0, 0);
    SendToWindow(view, kEmSetSel, static_cast<uintptr_t>(length), length);
    SendToWindow(view, kEmLineScroll, 0, SendToWindow(view, kEmGetLineCount, 0, 0));
    RepaintNow(view);
}

void AppendHoldingStill(WindowRef view, const char* text) {
    uint32_t start = 0, end = 0;
    SendToWindow(view, kEmGetSel, reinterpret_cast<uintptr_t>(&start), reinterpret_cast<intptr_t>(&end));
    const intptr_t top = SendToWindow(view, kEmGetFirstVisibleLine, 0, 0);
    // The caret's visit to the end, and the scrolling it brings, are never painted.
    SendToWindow(view, kWmSetRedraw, 0, 0);
    const intptr_t length = SendToWindow(view, kWmGetTextLength, 0, 0);
    SendToWindow(view, kEmSetSel, static_cast<uintptr_t>(length), length);
    SendToWindow(view, kEmReplaceSel, 0, reinterpret_cast<intptr_t>(text));
    SendToWindow(view, kEmSetSel, start, end);
    ScrollToLine(view, top);
    SendToWindow(view, kWmSetRedraw, 1, 0);
    InvalidateWhole(view);
    RepaintNow(view);
}

HeldPlace HoldPlace(WindowRef view) {
    HeldPlace p;
    if (gAutoScroll || !view) return p;
    p.held = true;
    p.lineCount = SendToWindow(view, kEmGetLineCount, 0, 0);
    p.topLine = SendToWindow(view, kEmGetFirstVisibleLine, 0, 0);
    uint32_t start = 0, end = 0;
    SendToWindow(view, kEmGetSel, reinterpret_cast<uintptr_t>(&start), reinterpret_cast<intptr_t>(&end));
    LineAndColumn(view, start, &p.startLine, &p.startColumn);
    LineAndColumn(view, end, &p.endLine, &p.endColumn);
    return p;
}

void RestorePlace(WindowRef view, const HeldPlace& held) {
    if (!held.held) return;
    // The rebuilt view is the old one without its first lines: those of the dropped entries.
    const intptr_t dropped = std::max<intptr_t>(0, held.lineCount - SendToWindow(view, kEmGetLineCount, 0, 0));
    const intptr_t top = std::max<intptr_t>(0, held.topLine - dropped);
    intptr_t start = PositionAt(view, top, 0), end = start;
    if (held.startLine >= dropped) {
        start = PositionAt(view, held.startLine - dropped, held.startColumn);
        end = PositionAt(view, held.endLine - dropped, held.endColumn);
    }
    SendToWindow(view, kEmSetSel, static_cast<uintptr_t>(start), end);
    ScrollToLine(view, top);
}

void ResetAutoScroll() {
    gAutoScroll = true;
}
