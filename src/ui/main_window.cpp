// src/ui/main_window.cpp
// The one top-level window: creation, paint and layout, commands, filter changes and
// the orderly teardown.
#include "ui/main_window.h"

#include <richedit.h>

#include <new>

#include "capture/channel.h"
#include "capture/state.h"
#include "logview/auto_scroll.h"
#include "logview/history.h"
#include "texts.h"
#include "ui/command_line.h"
#include "ui/controls.h"
#include "ui/dpi.h"
#include "ui/find.h"
#include "ui/focus.h"
#include "ui/font_dialog.h"
#include "ui/log_menu.h"
#include "ui/resource.h"
#include "ui/ui_state.h"

UiState& Ui() {
    static UiState state;
    return state;
}

namespace {
void OnCreate(HWND window) {
    AdoptWindowDpi(window);
    CreateLogView(window);
    CreateFilterBox(window);
    CreateStopResumeButton(window);
    CreateClearButton(window);
    UpdateCommandLine(window);
    OpenCaptureChannel();
    Ui().monitorThread = StartMonitorThread();
}

void OnPaint(HWND window) {
    PaintFilterLabel(window);
    LayOutControls(window);
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
    ReleaseRichEditLibrary(ui.logViewRichEdit);
    DestroyWindow(ui.filterBox);
    ReleaseRichEditLibrary(ui.filterBoxRichEdit);
    DestroyCommandLine(window);
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
        case kCommandCopy:
            CopyLogViewSelection();
            break;
        case kCommandSelectAll:
            SelectAllOfLogView();
            break;
        case kCommandSaveAs:
            SaveLogViewAs(window);
            break;
        case kCommandFind:
            OpenFindDialog(window);
            break;
        case kCommandAutoScroll:
            SetAutoScroll(!AutoScroll());
            break;
        default:
            break;
    }
}
}  // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (OnFindDialogMessage(window, message, lParam)) return 0;
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
        case WM_NOTIFY: {
            // Only the command line asks for key events; Enter in any other control is not
            // a command.
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->code == EN_MSGFILTER && header->hwndFrom == Ui().commandLine && Ui().commandLine) {
                return OnCommandLineKey(window, *reinterpret_cast<const MSGFILTER*>(lParam));
            }
            return 0;
        }
        case WM_ACTIVATE:
            // The editor's command sender may have been installed or removed meanwhile.
            if (LOWORD(wParam) != WA_INACTIVE) UpdateCommandLine(window);
            return OnActivateFocus(window, wParam, lParam);
        case WM_SETFOCUS:
            OnWindowFocus(window);
            return 0;
        case WM_TIMER:
            OnCommandTimer(window);
            return 0;
        case WM_DPICHANGED:
            OnDpiChanged(window, wParam, lParam);
            return 0;
        case WM_CONTEXTMENU:
            if (reinterpret_cast<HWND>(wParam) == static_cast<HWND>(LogView()) && LogView()) {
                ShowLogViewMenu(window, lParam);
                return 0;
            }
            return DefWindowProcA(window, message, wParam, lParam);
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
    const SIZE size = InitialWindowSize();
    return CreateWindowExA(0, kMainWindowClass, kWindowTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                           size.cx, size.cy, nullptr, nullptr, instance, nullptr);
}
