// src/ui/main.cpp
// Entry point: one instance, one window, one message loop.
#include <windows.h>

#include "capture/channel.h"
#include "capture/state.h"
#include "logview/filter.h"
#include "platform/win32.h"
#include "texts.h"
#include "ui/main_window.h"
#include "ui/ui_state.h"

namespace {
// How long the exit waits for the monitor thread to finish the message in hand.
constexpr DWORD kMonitorStopTimeoutMs = 5000;
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    if (HWND running = FindWindowA(kMainWindowClass, nullptr)) {
        OpenIcon(running);
        return 0;
    }
    FilterInit();  // before the monitor thread exists
    ResetCaptureState();
    CreateUiDispatchWindow(instance);
    if (!RegisterMainWindowClass(instance)) return 0;
    Ui().instance = instance;
    HWND window = CreateMainWindow(instance);
    if (!window) return 0;
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    DeleteFileA(kHandOffFile);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    // The monitor thread must not outlive what it uses: stop it before the exit
    // handlers run, serving its sends meanwhile so it cannot be stuck in one.
    StopMonitorThread(kMonitorStopTimeoutMs);
    DestroyUiDispatchWindow();
    return static_cast<int>(msg.wParam);
}
