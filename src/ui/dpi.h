// src/ui/dpi.h
// The window's DPI. The functions for it that older Windows lacks are looked up at run
// time; where they are missing the window takes the system's DPI (LOGPIXELSY).
#pragma once
#include <windows.h>

#include "logview/zoom.h"

// The outer size to create the window at, before it exists: for the system's DPI, the
// design's 500 x 480 with the client area scaled. Exactly 500 x 480 at 96 DPI.
SIZE InitialWindowSize();
// In WM_CREATE, before any control: takes the window's own DPI and, where that is not the
// one its size was made for, gives it the size for its own.
void AdoptWindowDpi(HWND window);
// WM_DPICHANGED gives the new DPI; the controls are then scaled to it (controls.h).
void SetWindowDpi(int dpi);
int SystemDpi();

// A user32 function older Windows may lack, looked up at run time; null where it is missing.
template <typename Fn>
Fn User32Function(const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}

// Rich edits lay their point sizes out at the system's DPI; in a window at another DPI
// (another monitor's) their text is scaled to the window's, so 9 point stays 9 point. The
// log view's also by the user's zoom (logview/zoom.h).
void ScaleToWindowDpi(HWND richEdit, TextScale& scale);
void ScaleLogViewToWindowDpi(HWND view);
