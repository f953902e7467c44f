// src/ui/main_window.cpp
// The one top-level window: creation, paint and layout, commands, filter changes and
// the orderly teardown.
#include "ui/main_window.h"

#include <richedit.h>

#include <new>

#include "capture/channel.h"
#include "capture/state.h"
#include "logview/history.h"
#include "texts.h"
#include "ui/controls.h"
#include "ui/font_dialog.h"
#include "ui/resource.h"
#include "ui/ui_state.h"

UiState& Ui() {
    static UiState state;
    return state;
}

namespace {
void OnCreate(HWND window) {
    CreateLogView(window);
    CreateFilterBox(window);
    CreateStopResumeButton(window);
    CreateClearButton(window);
    OpenCaptureChannel();
    Ui().monitorThread = StartMonitorThread();
}

void OnPaint(HWND window) {
    PaintFilterLabel(window);
    LayOutControls(window);
}

void ReleaseRichEdit(HMODULE library) {
    if (!FreeLibrary(library)) MessageBoxA(nullptr, kLibraryReleaseFailed, kErrorCaption, MB_OK);
}

void OnClose(HWND window) {
    UiState& ui = Ui();
    if (ui.monitorThread) {
        CloseHandle(ui.monitorThread);
        ui.monitorThread = nullptr;
    }
    // Forgotten before it is destroyed: a message still being handed over (a trim
    // re-rendering, say) then goes nowhere instead of to a dead handle.
    HWND logView = static_cast<HWND>(LogView());
    SetLogView(nullptr);
    DestroyWindow(logView);
    ReleaseRichEdit(ui.logViewRichEdit);
    DestroyWindow(ui.filterBox);
    ReleaseRichEdit(ui.filterBoxRichEdit);
    DeleteObject(ui.stopButtonFont);
    DestroyWindow(static_cast<HWND>(Monitor().stopButton.exchange(nullptr)));
    DeleteObject(ui.clearButtonFont);
    DestroyWindow(ui.clearButton);
    DeleteObject(ui.labelFont);
    ui.labelFont = nullptr;
    DestroyWindow(window);
}

void CheckFilter(WPARAM wParam, LPARAM lParam) {
    HWND from = reinterpret_cast<HWND>(lParam);
    if (!from || from != Ui().filterBox || HIWORD(wParam) != EN_UPDATE) return;
    char text[kFilterTextSize] = {};
    GetWindowTextA(from, text, sizeof text);
    SetFilterText(text);
    ReRender();
}

void OnCommand(HWND window, WPARAM wParam, LPARAM lParam) {
    CheckFilter(wParam, lParam);
    switch (LOWORD(wParam)) {
        case kCommandExit:
            SendMessageA(window, WM_CLOSE, 0, 0);
            break;
        case kCommandFont:
            ChooseLogViewFont();
            break;
        case kStopResumeButtonId:
            ToggleReception();
            break;
        case kClearButtonId:
            ClearLog();
            break;
        default:
            break;
    }
}
}  // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            OnCreate(window);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        case WM_SIZE:
            return 0;  // layout happens on the paint that follows
        case WM_PAINT:
            OnPaint(window);
            return 0;
        case WM_CLOSE:
            OnClose(window);
            return 0;
        case WM_NOTIFY:
            return 0;  // no control here feeds the command hand-off
        case WM_COMMAND:
            // Running out of memory in a re-render or a clear costs that command only:
            // nothing may unwind through the window procedure.
            try {
                OnCommand(window, wParam, lParam);
            } catch (const std::bad_alloc&) {
            }
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

bool RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_VREDRAW | CS_HREDRAW;
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_MONITOR));
    wc.hIconSm =
        static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_MONITOR), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszMenuName = MAKEINTRESOURCEA(IDR_MENU1);
    wc.lpszClassName = kMainWindowClass;
    return RegisterClassExA(&wc) != 0;
}

HWND CreateMainWindow(HINSTANCE instance) {
    return CreateWindowExA(0, kMainWindowClass, kWindowTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 500,
                           480, nullptr, nullptr, instance, nullptr);
}
