// src/ui/main_window.cpp
// The one top-level window: creation, paint and layout, commands, filter changes and
// the orderly teardown.
#include "ui/main_window.h"

#include <richedit.h>

#include <new>

#include "capture/channel.h"
#include "capture/state.h"
#include "logview/auto_scroll.h"
#include "logview/log_view.h"
#include "logview/view_options.h"
#include "platform/platform.h"
#include "texts.h"
#include "ui/command_line.h"
#include "ui/contrast.h"
#include "ui/controls.h"
#include "ui/dpi.h"
#include "ui/find.h"
#include "ui/focus.h"
#include "ui/font_dialog.h"
#include "ui/layout.h"
#include "ui/log_menu.h"
#include "ui/resource.h"
#include "ui/ui_state.h"
#include "ui/window_icons.h"

namespace {
// The layout from its inputs now, handed to whatever places controls.
WindowLayout CurrentLayout(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return LayOutWindow(r.right - r.left, r.bottom - r.top, Ui().dpi, CommandLineShown());
}

void OnCreate(HWND window) {
    AdoptWindowDpi(window);
    SetWindowIcons(window);
    AdoptSystemColours();
    const WindowLayout layout = CurrentLayout(window);
    CreateLogView(window, layout);
    CreateFilterBox(window, layout);
    CreateStopResumeButton(window, layout);
    CreateClearButton(window, layout);
    UpdateCommandLine(window);
    OpenCaptureChannel();
    Ui().monitorThread = StartMonitorThread();
}

void OnPaint(HWND window) {
    const WindowLayout layout = CurrentLayout(window);
    PaintFilterLabel(window, layout);
    LayOutControls(layout);
}

// The fonts, the icons and the text for the new DPI, the suggested rectangle, every control
// at its new place; then all of it repainted, borders and scroll bars too, as Windows
// leaves them stale after controls were moved without repainting.
void OnDpiChanged(HWND window, WPARAM wParam, LPARAM lParam) {
    SetWindowDpi(HIWORD(wParam));
    SetWindowIcons(window);
    ScaleControls(CurrentLayout(window));
    const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
    SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    LayOutControls(CurrentLayout(window));
    RedrawWhole(window);
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
    ClearAccessibleName(logView);
    DestroyWindow(logView);
    ReleaseRichEditLibrary(ui.logViewRichEdit);
    ClearAccessibleName(ui.filterBox);
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
    DestroyWindowIcons();
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
        case kCommandShowTime:
            ShowTimes(!CurrentViewOptions().showTime);
            break;
        case kCommandInsertMarker:
            InsertMarker();
            break;
        case kCommandColours:
            ColourLines(!CurrentViewOptions().colours);
            break;
        case kCommandWrap:
            WrapLines(!CurrentViewOptions().wrap);
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
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            // The log view tells its selection while auto-scroll is off (auto_scroll.h).
            if (header->code == EN_SELCHANGE && header->hwndFrom == static_cast<HWND>(LogView()) && LogView()) {
                const CHARRANGE& at = reinterpret_cast<const SELCHANGE*>(lParam)->chrg;
                NoteSelectionChange(at.cpMin, at.cpMax);
                return 0;
            }
            // Only the command line asks for key events; Enter in any other control is not
            // a command.
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
        case WM_SYSCOLORCHANGE:
            // The buttons are common controls, which hear of it only from their parent
            // (WM_SYSCOLORCHANGE's documentation).
            for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
                SendMessageA(child, message, wParam, lParam);
            OnSystemColoursChanged(window);
            return 0;
        case WM_SETTINGCHANGE:
            OnSystemColoursChanged(window);  // a high-contrast theme turned on or off, say
            return DefWindowProcA(window, message, wParam, lParam);
        case WM_ERASEBKGND:
            return EraseBackground(window, reinterpret_cast<HDC>(wParam));
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
    wc.hbrBackground = nullptr;  // erased in the colours in use (WM_ERASEBKGND), white as before or the user's
    wc.lpszMenuName = MAKEINTRESOURCEA(IDR_MENU1);
    wc.lpszClassName = kMainWindowClass;
    return RegisterClassExA(&wc) != 0;
}

HWND CreateMainWindow(HINSTANCE instance) {
    const SIZE size = InitialWindowSize();
    return CreateWindowExA(0, kMainWindowClass, kWindowTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                           size.cx, size.cy, nullptr, nullptr, instance, nullptr);
}
