// src/ui/dpi.cpp
#include "ui/dpi.h"

#include "logview/log_view.h"
#include "logview/zoom.h"
#include "ui/layout.h"
#include "ui/ui_state.h"

namespace {
using DpiForWindowFn = UINT(WINAPI*)(HWND);
using AdjustForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
int gSizedFor = kDesignDpi;  // the DPI the window's initial size was made for

// The design's client area (its outer size less the frame, caption and menu bar at 96
// DPI), scaled, with the frame at this DPI around it. Without the call, the outer size
// scaled.
SIZE WindowSizeFor(int dpi) {
    if (dpi == kDesignDpi) return {kWindowWidth, kWindowHeight};
    static const auto adjust = User32Function<AdjustForDpiFn>("AdjustWindowRectExForDpi");
    if (!adjust) return {ScaledLength(kWindowWidth, dpi), ScaledLength(kWindowHeight, dpi)};
    RECT frame{0, 0, 0, 0};
    adjust(&frame, WS_OVERLAPPEDWINDOW, TRUE, 0, kDesignDpi);
    RECT r{0, 0, ScaledLength(kWindowWidth - (frame.right - frame.left), dpi),
           ScaledLength(kWindowHeight - (frame.bottom - frame.top), dpi)};
    adjust(&r, WS_OVERLAPPEDWINDOW, TRUE, 0, static_cast<UINT>(dpi));
    return {r.right - r.left, r.bottom - r.top};
}
}  // namespace

int SystemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kDesignDpi;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kDesignDpi;
}

SIZE InitialWindowSize() {
    gSizedFor = SystemDpi();
    return WindowSizeFor(gSizedFor);
}

void AdoptWindowDpi(HWND window) {
    static const auto dpiForWindow = User32Function<DpiForWindowFn>("GetDpiForWindow");
    const UINT own = dpiForWindow ? dpiForWindow(window) : 0;
    Ui().dpi = own ? static_cast<int>(own) : SystemDpi();
    if (Ui().dpi == gSizedFor) return;
    const SIZE size = WindowSizeFor(Ui().dpi);
    SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetWindowDpi(int dpi) {
    Ui().dpi = dpi > 0 ? dpi : kDesignDpi;
}

void ScaleToWindowDpi(HWND richEdit, TextScale& scale) {
    ScaleText(richEdit, scale, Ui().dpi, SystemDpi());
}

void ScaleLogViewToWindowDpi(HWND view) {
    ScaleLogView(view, kLogViewHeightTwips, Ui().dpi, SystemDpi());
}
