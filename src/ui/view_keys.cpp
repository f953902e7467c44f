// src/ui/view_keys.cpp
// Caught before any control sees it, as F3 is: Ctrl+M would otherwise reach the focused
// control as a carriage return.
#include "ui/view_keys.h"

#include "logview/view_options.h"

bool HandleViewKey(HWND window, const MSG& msg) {
    if (msg.message != WM_KEYDOWN || msg.wParam != 'M') return false;
    if (msg.hwnd != window && !IsChild(window, msg.hwnd)) return false;
    if (GetKeyState(VK_CONTROL) >= 0 || GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_MENU) < 0) return false;
    InsertMarker();
    return true;
}
