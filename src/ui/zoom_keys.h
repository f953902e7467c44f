// src/ui/zoom_keys.h
// The user's zoom of the log view's text (logview/zoom.h): Ctrl with the mouse wheel over
// the view, and Ctrl with +, - or 0 wherever the focus is in the window, on the main
// keyboard and on the numeric keypad. Steps of 10 % from 50 % to 400 %; Ctrl+0 is 100 %.
#pragma once
#include <windows.h>

// From the message loop, before any control sees the message: true when it was one of
// these and has been handled. Ctrl with the wheel anywhere in the window is taken, so that
// no rich edit zooms itself.
bool HandleZoomMessage(HWND window, const MSG& msg);
