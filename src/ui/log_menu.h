// src/ui/log_menu.h
// The log view's context menu (copy, select all, save as, find, auto-scroll, the view's
// choices and the run marker, clear) and Ctrl+A in the view.
#pragma once
#include <windows.h>

#include "ui/log_save.h"

// WM_CONTEXTMENU from the log view; at is the screen point, or (-1, -1) from the keyboard.
void ShowLogViewMenu(HWND window, LPARAM at);

// The menu's commands (the clear entry is the clear button's command).
void CopyLogViewSelection();
void SelectAllOfLogView();

// From the message loop, before translation: true when the message was Ctrl+A for the
// log view and has been handled.
bool HandleLogViewShortcut(const MSG& msg);
