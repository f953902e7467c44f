// src/ui/view_keys.h
// The log view's own key: Ctrl+M inserts a run marker wherever the focus is in the window.
#pragma once
#include <windows.h>

// From the message loop, before translation: true when the message was Ctrl+M for the
// window or one of its controls and has been handled.
bool HandleViewKey(HWND window, const MSG& msg);
