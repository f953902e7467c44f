// src/ui/controls.h
// The child controls and the painted labels, each where the layout (layout.h) puts it.
#pragma once
#include <windows.h>

HWND CreateLogView(HWND parent);
HWND CreateFilterBox(HWND parent);
HWND CreateStopResumeButton(HWND parent);
HWND CreateClearButton(HWND parent);

// One-line rich edits (the filter box, the command line): style and look, the default
// format at 10 point; a refused format is shown in a box owned by the control.
inline constexpr DWORD kOneLineRichEditStyle = 0x50800000;  // child, visible, border: one line
void SetOneLineLook(HWND control);

// The rich-edit library, from the system folder only: a copy beside the program would
// otherwise be loaded first. Each control holds its own reference.
HMODULE LoadRichEditLibrary();
// Released at close; a refusal is reported and the close goes on.
void ReleaseRichEditLibrary(HMODULE library);

// Begins and ends the paint: call first on WM_PAINT. Paints the filter label, and the
// command line's label while it is shown.
void PaintFilterLabel(HWND window);
// Moves the filter box, the command line and the log view for the current client size.
// The buttons stay: their places do not depend on it.
void LayOutControls(HWND window);

// WM_DPICHANGED: the suggested rectangle, fonts made anew at the new DPI (the old ones
// deleted), the rich edits zoomed, every control moved, and the whole window repainted.
void OnDpiChanged(HWND window, WPARAM wParam, LPARAM lParam);
