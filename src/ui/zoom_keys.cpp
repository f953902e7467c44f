// src/ui/zoom_keys.cpp
#include "ui/zoom_keys.h"

#include <windowsx.h>

#include "logview/log_view.h"
#include "logview/zoom.h"
#include "ui/ui_state.h"

namespace {

bool InWindow(HWND window, HWND target) {
    return target == window || IsChild(window, target);
}

void Zoom(int percent) {
    ZoomLogView(LogView(), percent);
}

bool OnKey(WPARAM key) {
    // VK_OEM_PLUS and VK_OEM_MINUS are the keys that give + and - in any layout, shifted
    // or not (Ctrl+= zooms in too where + is Shift+=).
    switch (key) {
        case VK_OEM_PLUS:
        case VK_ADD:
            Zoom(LogViewZoom() + kZoomStep);
            return true;
        case VK_OEM_MINUS:
        case VK_SUBTRACT:
            Zoom(LogViewZoom() - kZoomStep);
            return true;
        case '0':
        case VK_NUMPAD0:
            Zoom(kZoomNormal);
            return true;
        default:
            return false;
    }
}

void OnWheel(const MSG& msg) {
    const POINT at{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};  // on the screen
    HWND view = static_cast<HWND>(LogView());
    if (!view || WindowFromPoint(at) != view) return;
    int& turned = Ui().wheelTurned;
    turned += GET_WHEEL_DELTA_WPARAM(msg.wParam);
    const int notches = turned / WHEEL_DELTA;  // away from the user: larger
    turned -= notches * WHEEL_DELTA;
    if (notches) Zoom(LogViewZoom() + notches * kZoomStep);
}
}  // namespace

bool HandleZoomMessage(HWND window, const MSG& msg) {
    if (!InWindow(window, msg.hwnd)) return false;
    if (msg.message == WM_KEYDOWN && GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) >= 0) return OnKey(msg.wParam);
    if (msg.message == WM_MOUSEWHEEL && (GET_KEYSTATE_WPARAM(msg.wParam) & MK_CONTROL)) {
        OnWheel(msg);
        return true;
    }
    return false;
}
