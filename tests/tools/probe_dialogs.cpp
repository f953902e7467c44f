// tests/tools/probe_dialogs.cpp
// The probe's commands for what the monitor opens over its window: message boxes, the
// save dialog, the font dialog, popup menus; and the clipboard.
#include <richedit.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "probe.h"

namespace {
struct DialogSearch {
    DWORD pid;
    int item = 0;
    HWND found = nullptr;
};
BOOL CALLBACK FindDialog(HWND w, LPARAM p) {
    auto* s = reinterpret_cast<DialogSearch*>(p);
    char cls[16] = {};
    GetClassNameA(w, cls, sizeof cls);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (!std::strcmp(cls, "#32770") && (!s->pid || pid == s->pid) && IsWindowVisible(w) &&
        (!s->item || GetDlgItem(w, s->item))) {
        s->found = w;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

HWND WaitForDialog(DWORD pid, int item, int waitMs) {
    for (int waited = 0;; waited += 50) {
        DialogSearch s{pid, item};
        EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&s));
        if (s.found || waited >= waitMs) return s.found;
        Sleep(50);
    }
}

int DialogCommand(const std::string& cmd, const char* arg) {
    if (cmd == "box-text") {
        HWND box = WaitForDialog(0);
        if (!box) return 7;
        char text[4096] = {};
        const UINT n = GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // a message box's text
        return SaveBytes(arg, text, n);
    }
    if (cmd == "dismiss-box") {
        HWND box = WaitForDialog(0);
        return box && PostMessageA(box, WM_COMMAND, IDOK, 0) ? 0 : 7;
    }
    if (cmd == "press-yes") {
        HWND box = WaitForDialog(0, IDYES);
        return box && PostMessageA(box, WM_COMMAND, IDYES, 0) ? 0 : 7;
    }
    if (cmd == "cancel-dialog") {
        // The font dialog is owned by the log view; wait for it, then cancel it.
        for (int i = 0; i < 200; ++i) {
            if (HWND d = FindWindowA("#32770", nullptr)) return PostMessageA(d, WM_COMMAND, IDCANCEL, 0) ? 0 : 6;
            Sleep(50);
        }
        return 7;
    }
    if (cmd == "dialog-open") return FindWindowA("#32770", nullptr) ? 0 : 1;
    if (cmd == "right-click-view") {
        SetForegroundWindow(Main());
        Click(Find().logView, true);
        return 0;
    }
    if (cmd == "menu-open") {
        for (int i = 0; i < 100; ++i) {
            HWND menu = FindWindowA("#32768", nullptr);
            if (menu && IsWindowVisible(menu) && Painted(menu)) return 0;
            Sleep(50);
        }
        return 1;
    }
    if (cmd == "close-menu") return PressKey(VK_ESCAPE), 0;
    if (cmd == "menu-key-view") {
        SetForegroundWindow(Main());
        Click(Find().logView, false);  // the focus, and so the keys, go to the view
        SendMessageA(Find().logView, EM_SETSEL, std::atoi(arg), std::atoi(arg));
        PressKeys({VK_SHIFT, VK_F10});
        HWND menu = nullptr;
        for (int i = 0; i < 100 && !(menu = FindWindowA("#32768", nullptr)); ++i)
            Sleep(50);
        GUITHREADINFO gui{};
        gui.cbSize = sizeof gui;
        if (!menu || !GetGUIThreadInfo(GetWindowThreadProcessId(Main(), nullptr), &gui) || !gui.hwndCaret) return 1;
        RECT r{};
        GetWindowRect(menu, &r);
        POINT caret{gui.rcCaret.left, gui.rcCaret.top};
        ClientToScreen(gui.hwndCaret, &caret);
        std::printf("menu %ld %ld\ncaret %ld %ld\n", r.left, r.top, caret.x, caret.y);
        return 0;
    }
    if (cmd == "clipboard") {
        if (!OpenClipboard(nullptr)) return 6;
        HANDLE data = GetClipboardData(CF_TEXT);
        const char* text = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
        const int code = text ? SaveBytes(arg, text, std::strlen(text)) : 7;
        if (text) GlobalUnlock(data);
        CloseClipboard();
        return code;
    }
    if (cmd == "licence-page") {
        HWND wizard = WaitForDialog(0, IDCANCEL, 30000);
        if (!wizard) return 7;
        PostMessageA(wizard, WM_COMMAND, IDOK, 0);  // Next, from the welcome page
        std::string shown(64 * 1024, '\0');
        LRESULT n = 0;
        for (int i = 0; i < 200 && n <= 0; ++i, Sleep(50)) {
            HWND page = FindWindowExA(wizard, nullptr, "#32770", nullptr);
            HWND text = page ? GetDlgItem(page, 1000) : nullptr;  // the licence page's rich edit
            n = text ? SendMessageA(text, WM_GETTEXT, shown.size(), reinterpret_cast<LPARAM>(shown.data())) : 0;
        }
        PostMessageA(wizard, WM_COMMAND, IDCANCEL, 0);
        return n > 0 ? SaveBytes(arg, shown.data(), static_cast<size_t>(n)) : 6;
    }
    if (cmd == "save-as") {
        HWND dialog = WaitForDialog(MonitorPid());
        if (!dialog) return 7;
        // The file name field: an edit in older dialogs, a combo box's edit in newer ones.
        const bool named = SetDlgItemTextA(dialog, 0x480, arg) || SetDlgItemTextA(dialog, 0x47C, arg);
        return named && PostMessageA(dialog, WM_COMMAND, IDOK, 0) ? 0 : 6;
    }
    return 2;
}
