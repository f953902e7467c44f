// src/ui/window_icons.cpp
#include "ui/window_icons.h"

#include "ui/dpi.h"
#include "ui/resource.h"
#include "ui/ui_state.h"

namespace {
using MetricForDpiFn = int(WINAPI*)(int, UINT);

// The system's icon size at the window's DPI (Windows 10 1607 on); before that, the
// system's own scaled from its DPI.
int IconSize(int metric) {
    static const auto forDpi = User32Function<MetricForDpiFn>("GetSystemMetricsForDpi");
    if (forDpi) return forDpi(metric, static_cast<UINT>(Ui().dpi));
    return MulDiv(GetSystemMetrics(metric), Ui().dpi, SystemDpi());
}

// LoadImage takes the file's image of that size, or scales the closest one to it.
void Replace(HWND window, WPARAM which, HICON* kept, int size) {
    auto* fresh = static_cast<HICON>(
        LoadImageA(Ui().instance, MAKEINTRESOURCEA(IDI_MONITOR), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    if (!fresh) return;
    SendMessageA(window, WM_SETICON, which, reinterpret_cast<LPARAM>(fresh));
    if (*kept) DestroyIcon(*kept);
    *kept = fresh;
}
}  // namespace

void SetWindowIcons(HWND window) {
    Replace(window, ICON_SMALL, &Ui().smallIcon, IconSize(SM_CXSMICON));
    Replace(window, ICON_BIG, &Ui().bigIcon, IconSize(SM_CXICON));
}

void DestroyWindowIcons() {
    for (HICON* icon : {&Ui().smallIcon, &Ui().bigIcon}) {
        if (*icon) DestroyIcon(*icon);
        *icon = nullptr;
    }
}
