// src/ui/focus.cpp
#include "ui/focus.h"

#include "logview/log_view.h"

namespace {
HWND gFocus = nullptr;  // the control that had the focus when the window was last left

// The control kept, while it can still take the focus; else the log view.
HWND FocusTarget(HWND window) {
    if (gFocus && IsWindow(gFocus) && IsChild(window, gFocus) && IsWindowVisible(gFocus) && IsWindowEnabled(gFocus))
        return gFocus;
    return static_cast<HWND>(LogView());
}
}  // namespace

LRESULT OnActivateFocus(HWND window, WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == WA_INACTIVE) {
        // Still the focus while the window is being left; it moves on after this message.
        HWND focus = GetFocus();
        if (focus && IsChild(window, focus)) gFocus = focus;
        return DefWindowProcA(window, WM_ACTIVATE, wParam, lParam);
    }
    // Minimised, the window takes no focus; the system's own handling then sets none.
    if (HIWORD(wParam)) return DefWindowProcA(window, WM_ACTIVATE, wParam, lParam);
    // Handled here: DefWindowProc gives the focus to the window itself (WM_ACTIVATE's remarks).
    OnWindowFocus(window);
    return 0;
}

void OnWindowFocus(HWND window) {
    if (HWND target = FocusTarget(window)) SetFocus(target);
}
