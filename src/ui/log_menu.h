// src/ui/log_menu.h
// The log view's context menu (copy, select all, save as, clear), Ctrl+A in the view,
// and saving what the view shows to a file.
#pragma once
#include <windows.h>

// WM_CONTEXTMENU from the log view; at is the screen point, or -1 from the keyboard.
void ShowLogViewMenu(HWND window, LPARAM at);

// The menu's commands (the clear entry is the clear button's command).
void CopyLogViewSelection();
void SelectAllOfLogView();
void SaveLogViewAs(HWND owner);

// From the message loop, before translation: true when the message was Ctrl+A for the
// log view and has been handled.
bool HandleLogViewShortcut(const MSG& msg);
