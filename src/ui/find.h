// src/ui/find.h
// Find in the log view: the system's find dialog (Ctrl+F or the menu's "検索..."), and F3
// and Shift+F3 for the next and the previous match of the last search, wherever the focus
// is in the window. A match is selected, scrolled into view, and turns auto-scroll off so
// that it stays there; when there is none, a box says so, owned by the dialog while it is
// open, else by the window.
#pragma once
#include <windows.h>

// Opens the dialog, or brings it forward: there is one at a time.
void OpenFindDialog(HWND window);

// From the message loop, before anything else: Ctrl+F, F3 and Shift+F3 for any window of
// the main window or of the dialog, then the dialog's own keys. True when handled.
bool HandleFindMessage(HWND window, MSG& msg);

// The dialog's registered message to the main window (FINDMSGSTRING); true when it was one.
bool OnFindDialogMessage(HWND window, UINT message, LPARAM lParam);
