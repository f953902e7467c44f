// src/ui/main.cpp
// Entry point: one instance, one window, one message loop.
#include <windows.h>

#include "capture/channel.h"
#include "capture/state.h"
#include "logview/filter.h"
#include "platform/platform.h"
#include "platform/win32.h"
#include "texts.h"
#include "ui/find.h"
#include "ui/log_menu.h"
#include "ui/main_window.h"
#include "ui/tab_keys.h"
#include "ui/ui_state.h"
#include "ui/view_keys.h"
#include "ui/zoom_keys.h"

namespace {
// How long the exit waits for the monitor thread to finish the message in hand.
constexpr DWORD kMonitorStopTimeoutMs = 5000;
// The exit code when the monitor thread could not be stopped and joined at close: the
// close then did not end it, and saying 0 would call that a clean end.
constexpr int kExitMonitorNotStopped = 2;
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    // Before anything else: every library loaded by name comes from the system folder,
    // never from the program's folder (a download folder, say), the current one or PATH.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (HWND running = FindWindowA(kMainWindowClass, nullptr)) {
        OpenIcon(running);
        return 0;
    }
    FilterInit();  // before the monitor thread exists
    ResetCaptureState();
    CreateUiDispatchWindow(instance);
    if (!RegisterMainWindowClass(instance)) return 0;
    Ui().instance = instance;
    StartAccessibleNames();  // before the controls, which are named as they are made
    HWND window = CreateMainWindow(instance);
    if (!window) {
        EndAccessibleNames();
        return 0;
    }
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    DeleteHandOffFile();  // a file that is not plainly ours is left alone

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (HandleFindMessage(window, msg) || HandleZoomMessage(window, msg) || HandleLogViewShortcut(msg) ||
            HandleViewKey(window, msg) || HandleTabKey(window, msg)) {
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    // The monitor thread must not outlive what it uses: stop it before the exit
    // handlers run, serving its sends meanwhile so it cannot be stuck in one.
    const bool stopped = StopMonitorThread(kMonitorStopTimeoutMs);
    DestroyUiDispatchWindow();
    EndAccessibleNames();
    if (!stopped) return kExitMonitorNotStopped;
    return static_cast<int>(msg.wParam);
}
