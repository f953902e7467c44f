// src/ui/focus.cpp
#include "ui/focus.h"

#include "logview/log_view.h"
#include "ui/ui_state.h"

namespace {
// The control kept, while it can still take the focus; else the log view.
HWND FocusTarget(HWND window) {
    const HWND kept = Ui().lastFocus;
    if (kept && IsWindow(kept) && IsChild(window, kept) && IsWindowVisible(kept) && IsWindowEnabled(kept)) return kept;
    return static_cast<HWND>(LogView());
}
}  // namespace

LRESULT OnActivateFocus(HWND window, WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == WA_INACTIVE) {
        // Still the focus while the window is being left; it moves on after this message.
        HWND focus = GetFocus();
        if (focus && IsChild(window, focus)) Ui().lastFocus = focus;
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
