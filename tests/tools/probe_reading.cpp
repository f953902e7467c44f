// tests/tools/probe_reading.cpp
// The probe's commands for reading the log: find, auto-scroll's place, and the DPI.
//   probe press WHERE KEY...    click into WHERE (view, filter; "here" clicks nothing), then
//                               press each KEY: a virtual-key code, "ctrl+70", "shift+114"
//   probe find TEXT [case] [up] fill the monitor's find dialog and press "find next"
//   probe find-open             exit 0 while its find dialog is open | close-find: cancel it
//   probe view-state            print the log view's "selection-start end first-visible-line
//                               line-count"
//   probe set-selection A B     select in the log view | scroll-to N: N its first visible line
//   probe line-height           print the pixels from the view's first line to its second
//   probe dpi-changed NEW OLD   send WM_DPICHANGED for NEW, the window's rectangle scaled
//                               from OLD
//   probe menu-items            print the open popup menu's items, "<flags> <text>" each
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "escape.h"
#include "probe.h"

namespace {
constexpr int kFindText = 0x480, kMatchCase = 0x411, kUp = 0x420, kDown = 0x421;  // the dialog's items

BOOL CALLBACK FindFindDialog(HWND w, LPARAM p) {
    char cls[16] = {};
    GetClassNameA(w, cls, sizeof cls);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (!std::strcmp(cls, "#32770") && pid == MonitorPid() && IsWindowVisible(w) && GetDlgItem(w, kFindText)) {
        *reinterpret_cast<HWND*>(p) = w;
        return FALSE;
    }
    return TRUE;
}

HWND FindDialog(int waitMs) {
    for (int waited = 0;; waited += 50) {
        HWND found = nullptr;
        EnumWindows(FindFindDialog, reinterpret_cast<LPARAM>(&found));
        if (found || waited >= waitMs) return found;
        Sleep(50);
    }
}

void Press(const char* key) {
    const char* plus = std::strchr(key, '+');
    const WORD code = static_cast<WORD>(std::atoi(plus ? plus + 1 : key));
    if (!plus) return PressKeys({code});
    PressKeys({static_cast<WORD>(!std::strncmp(key, "ctrl", 4) ? VK_CONTROL : VK_SHIFT), code});
}

// A message whose lParam points at a rectangle, with the rectangle placed in the
// monitor's own memory: a pointer into the probe's means nothing there.
LRESULT SendWithRect(HWND window, UINT message, WPARAM wParam, const RECT& rect) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
    void* remote = process ? VirtualAllocEx(process, nullptr, sizeof rect, MEM_COMMIT, PAGE_READWRITE) : nullptr;
    if (!remote || !WriteProcessMemory(process, remote, &rect, sizeof rect, nullptr)) return -1;
    const LRESULT r = SendMessageA(window, message, wParam, reinterpret_cast<LPARAM>(remote));
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return r;
}
}  // namespace

int ReadingCommand(const std::string& cmd, int argc, char** argv, HWND main, const Children& c) {
    const char* arg = argc > 2 ? argv[2] : "";
    if (cmd == "press" && argc > 3) {
        SetForegroundWindow(main);
        if (!std::strcmp(arg, "view") || !std::strcmp(arg, "filter"))
            Click(*arg == 'v' ? c.logView : c.filterBox, false);
        for (int i = 3; i < argc; ++i)
            Press(argv[i]);
        return 0;
    }
    if (cmd == "find") {
        HWND dialog = FindDialog(10000);
        if (!dialog) return 7;
        const std::string text = Unescape(arg);
        bool matchCase = false, up = false;
        for (int i = 3; i < argc; ++i)
            matchCase |= !std::strcmp(argv[i], "case"), up |= !std::strcmp(argv[i], "up");
        SetDlgItemTextA(dialog, kFindText, text.c_str());
        CheckDlgButton(dialog, kMatchCase, matchCase ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(dialog, kUp, up ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(dialog, kDown, up ? BST_UNCHECKED : BST_CHECKED);
        // Done when it returns, unless the monitor answers with a box (then after 1 s).
        DWORD_PTR r;
        SendMessageTimeoutA(dialog, WM_COMMAND, IDOK, 0, SMTO_NORMAL, 1000, &r);
        return 0;
    }
    if (cmd == "find-open") return FindDialog(0) ? 0 : 1;
    if (cmd == "close-find") {
        HWND dialog = FindDialog(0);
        if (dialog) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        for (int i = 0; i < 100 && FindDialog(0); ++i)
            Sleep(50);
        return FindDialog(0) ? 6 : 0;
    }
    if (cmd == "view-state") {
        DWORD start = 0, end = 0;
        SendMessageA(c.logView, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        std::printf("%lu %lu %ld %ld\n", start, end,
                    static_cast<long>(SendMessageA(c.logView, EM_GETFIRSTVISIBLELINE, 0, 0)),
                    static_cast<long>(SendMessageA(c.logView, EM_GETLINECOUNT, 0, 0)));
        return 0;
    }
    if (cmd == "set-selection" && argc > 3) {
        SendMessageA(c.logView, EM_SETSEL, std::atoi(argv[2]), std::atoi(argv[3]));
        return 0;
    }
    if (cmd == "scroll-to") {
        const LRESULT first = SendMessageA(c.logView, EM_GETFIRSTVISIBLELINE, 0, 0);
        SendMessageA(c.logView, EM_LINESCROLL, 0, std::atoi(arg) - first);
        return 0;
    }
    if (cmd == "line-height") {
        // The rich edit 1.0 form of EM_POSFROMCHAR: the point comes back in the result.
        const LRESULT second = SendMessageA(c.logView, EM_LINEINDEX, 1, 0);
        const LRESULT y0 = HIWORD(SendMessageA(c.logView, EM_POSFROMCHAR, 0, 0));
        const LRESULT y1 = HIWORD(SendMessageA(c.logView, EM_POSFROMCHAR, second, 0));
        return std::printf("%ld\n", static_cast<long>(y1 - y0)), 0;
    }
    if (cmd == "dpi-changed" && argc > 3) {
        const int now = std::atoi(argv[2]), was = std::atoi(argv[3]);
        RECT r;
        GetWindowRect(main, &r);
        const RECT suggested{r.left, r.top, r.left + MulDiv(r.right - r.left, now, was),
                             r.top + MulDiv(r.bottom - r.top, now, was)};
        return SendWithRect(main, WM_DPICHANGED, MAKEWPARAM(now, now), suggested) == 0 ? 0 : 6;
    }
    if (cmd == "menu-items") {
        HWND popup = FindWindowA("#32768", nullptr);
        HMENU menu = popup ? reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0)) : nullptr;
        if (!menu) return 7;
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            char text[128] = {};
            GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
            std::printf("%u %s\n", GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION), text);
        }
        return 0;
    }
    return 2;
}
