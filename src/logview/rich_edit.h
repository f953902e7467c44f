// src/logview/rich_edit.h
// The rich edit's messages the log view sends, one line each, so that the log view's code
// reads as what it does. Positions count characters, a paragraph end as the control
// counts it; lines are the lines the view shows (a wrapped paragraph is several).
#pragma once
#include <cstdint>

#include "platform/platform.h"

inline intptr_t TextLength(WindowRef v) {
    return SendToWindow(v, kWmGetTextLength, 0, 0);
}
inline void SelectRange(WindowRef v, intptr_t anchor, intptr_t active) {
    SendToWindow(v, kEmSetSel, static_cast<uintptr_t>(anchor), active);
}
inline void SelectEnd(WindowRef v) {
    const intptr_t end = TextLength(v);
    SelectRange(v, end, end);
}
inline void GetSelectionRange(WindowRef v, uint32_t* start, uint32_t* end) {
    SendToWindow(v, kEmGetSel, reinterpret_cast<uintptr_t>(start), reinterpret_cast<intptr_t>(end));
}
inline void ReplaceSelection(WindowRef v, const char* text) {
    SendToWindow(v, kEmReplaceSel, 0, reinterpret_cast<intptr_t>(text));
}
inline void EmptyText(WindowRef v) {
    SendToWindow(v, kWmSetText, 0, 0);
}
inline intptr_t FirstVisibleLine(WindowRef v) {
    return SendToWindow(v, kEmGetFirstVisibleLine, 0, 0);
}
inline void ScrollLines(WindowRef v, intptr_t lines) {
    SendToWindow(v, kEmLineScroll, 0, lines);
}
inline intptr_t LineCount(WindowRef v) {
    return SendToWindow(v, kEmGetLineCount, 0, 0);
}
inline intptr_t LineStart(WindowRef v, intptr_t line) {
    return SendToWindow(v, kEmLineIndex, static_cast<uintptr_t>(line), 0);
}
inline intptr_t LineLength(WindowRef v, intptr_t position) {
    return SendToWindow(v, kEmLineLength, static_cast<uintptr_t>(position), 0);
}
inline intptr_t LineOfPosition(WindowRef v, intptr_t position) {
    return SendToWindow(v, kEmExLineFromChar, 0, position);
}
// Where the text ends, read from its last line: the same count as every other position.
inline intptr_t TextEnd(WindowRef v) {
    const intptr_t lastLine = LineStart(v, LineCount(v) - 1);
    return lastLine + LineLength(v, lastLine);
}
inline void SetRedraw(WindowRef v, bool on) {
    SendToWindow(v, kWmSetRedraw, on ? 1 : 0, 0);
}
// The colour the next insertion takes; nothing else of the format changes.
inline void SetInsertionColour(WindowRef v, uint32_t colour) {
    CharFormat f{};
    f.cbSize = sizeof f;
    f.dwMask = kCfmColor;
    f.crTextColor = colour;
    SendToWindow(v, kEmSetCharFormat, kScfSelection, reinterpret_cast<intptr_t>(&f));
}
inline constexpr uint32_t kNoColour = 0xFFFFFFFF;  // no COLORREF is this
// Inserts at the selection, in this colour unless it is kNoColour: then nothing but the
// text is sent, and it takes the insertion point's format.
inline void InsertText(WindowRef v, const char* text, uint32_t colour) {
    if (colour != kNoColour) SetInsertionColour(v, colour);
    ReplaceSelection(v, text);
}
// lParam 0 wraps at the window's width, 1 not at all (EM_SETTARGETDEVICE with no device).
inline void SetWordWrap(WindowRef v, bool on) {
    SendToWindow(v, kEmSetTargetDevice, 0, on ? 0 : 1);
}
inline void SetEventMask(WindowRef v, intptr_t mask) {
    SendToWindow(v, kEmSetEventMask, 0, mask);
}
inline intptr_t EventMask(WindowRef v) {
    return SendToWindow(v, kEmGetEventMask, 0, 0);
}

// Redraw off for the scope's life. Back on, the whole control is repainted, its border
// and scroll bars too: WM_SETREDRAW's documentation asks for RedrawWindow then, as
// Windows leaves the non-client area stale otherwise. No path can forget that half.
struct RedrawPaused {
    explicit RedrawPaused(WindowRef v) : view(v) { SetRedraw(view, false); }
    ~RedrawPaused() {
        SetRedraw(view, true);
        RedrawWhole(view);
    }
    RedrawPaused(const RedrawPaused&) = delete;
    RedrawPaused& operator=(const RedrawPaused&) = delete;
    WindowRef view;
};
