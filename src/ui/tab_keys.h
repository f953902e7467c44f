// src/ui/tab_keys.h
// The keys a dialog's controls answer, for the main window's: Tab and Shift+Tab move the
// focus round the filter box, the stop/resume button, the clear button, the log view and
// (while it is shown) the command line, and wrap; Enter presses a focused button (Space does
// already); Escape does nothing outside the command line. The main window is no dialog:
// IsDialogMessage would take Enter and Escape for the commands of ids 1 and 2, which the
// rich edits and the command line carry.
#pragma once
#include <windows.h>

// From the message loop, after the window-wide shortcuts and before translation: true when
// the message was one of these keys for the window or one of its controls and was handled.
bool HandleTabKey(HWND window, const MSG& msg);
