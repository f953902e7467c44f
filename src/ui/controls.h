// src/ui/controls.h
// The child controls and the painted labels, each where the layout (layout.h) it is handed
// puts it.
#pragma once
#include <windows.h>

#include "logview/zoom.h"
#include "ui/layout.h"

HWND CreateLogView(HWND parent, const WindowLayout& layout);
HWND CreateFilterBox(HWND parent, const WindowLayout& layout);
HWND CreateStopResumeButton(HWND parent, const WindowLayout& layout);
HWND CreateClearButton(HWND parent, const WindowLayout& layout);

// One-line rich edits (the filter box, the command line): style and look, the default
// format at 10 point at the window's DPI; a refused format is shown in a box owned by the
// control.
inline constexpr DWORD kOneLineRichEditStyle = 0x50800000;  // child, visible, border: one line
void SetOneLineLook(HWND control, TextScale& scale);
// After a change of the colours (logview/colours.h): its background and all its text in
// them, the text itself, the selection and the fonts as they were.
void RecolourOneLine(HWND control);

// The rich-edit library, from the system folder only: a copy beside the program would
// otherwise be loaded first. Each control holds its own reference.
HMODULE LoadRichEditLibrary();
// Released at close; a refusal is reported and the close goes on.
void ReleaseRichEditLibrary(HMODULE library);

// Begins and ends the paint: call first on WM_PAINT. Paints the filter label, and the
// command line's label while it is shown.
void PaintFilterLabel(HWND window, const WindowLayout& layout);
// Moves each control whose place is not the layout's (the command line only while it is
// shown), and repaints what moved, frames too. The one-line boxes are repainted in any case.
void LayOutControls(const WindowLayout& layout);

// After a change of the window's DPI: the buttons' and the labels' fonts made anew (the old
// ones deleted) and the rich edits' text scaled. The places are the layout's next.
void ScaleControls(const WindowLayout& layout);
