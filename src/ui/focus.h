// src/ui/focus.h
// The keyboard focus across activations: when the window is activated again (after the
// find dialog, a box, another program), the control that had the focus gets it back, as
// in any dialog, instead of the window itself, where no key does anything. Before any
// control had it, the log view gets it.
#pragma once
#include <windows.h>

// WM_ACTIVATE: keeps the focus when the window is left, gives it back when it is activated.
LRESULT OnActivateFocus(HWND window, WPARAM wParam, LPARAM lParam);
// WM_SETFOCUS of the window itself (a restore from minimised, a box gone): passed on likewise.
void OnWindowFocus(HWND window);
