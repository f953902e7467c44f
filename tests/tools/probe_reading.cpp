// tests/tools/probe_reading.cpp
// The probe's commands for reading the log:
//   probe press WHERE KEY...    click into WHERE (view, filter; "here": no click), then press
//                               each KEY: a virtual-key code, or "ctrl+70", "shift+114"
//   probe find TEXT [case] [up] fill the monitor's find dialog, press "find next" | find-open:
//                               exit 0 while the dialog is open | close-find: cancel it
//   probe view-state            print the log view's "selection-start end first-visible-line
//                               line-count" | scroll-to N: make N its first visible line
//   probe line-height           print the pixels from the view's first line to its second
//   probe dpi-changed NEW OLD   send WM_DPICHANGED for NEW, the window's size scaled from OLD
//   probe scroll-bars           print whether the view shows its horizontal and vertical bars
//   probe colour AT             print "R G B", the colour of the view's character AT (selects it)
//   probe wheel NOTCHES         click into the log view, then turn the mouse wheel there with
//                               Ctrl held (away from the user for a positive count)
//   probe focus                 print where the monitor's focus is: view, filter, stop, clear, command,
//                               main (elsewhere), find (its dialog), box:main or box:find (a box's owner), none
#include <richedit.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "escape.h"
#include "probe.h"

namespace {
constexpr int kFindText = 0x480, kMatchCase = 0x411, kUp = 0x420, kDown = 0x421;  // the dialog's items

HWND FindDialog(int waitMs) {
    return WaitForDialog(MonitorPid(), kFindText, waitMs);
}

void Press(const char* key) {
    const char* plus = std::strchr(key, '+');
    const auto code = static_cast<WORD>(std::atoi(plus ? plus + 1 : key));
    if (!plus) return PressKeys({code});
    PressKeys({static_cast<WORD>(*key == 'c' ? VK_CONTROL : VK_SHIFT), code});
}
}  // namespace

int ReadingCommand(const std::string& cmd, int argc, char** argv, HWND main, const Children& c) {
    const char* arg = argc > 2 ? argv[2] : "";
    if (cmd == "press") {
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
        bool matchCase = false, up = false;
        for (int i = 3; i < argc; ++i)
            matchCase |= !std::strcmp(argv[i], "case"), up |= !std::strcmp(argv[i], "up");
        SetDlgItemTextA(dialog, kFindText, Unescape(arg).c_str());
        CheckDlgButton(dialog, kMatchCase, matchCase);
        CheckDlgButton(dialog, kUp, up);
        CheckDlgButton(dialog, kDown, !up);
        // Done when it returns, unless the monitor answers with a box (then after 1 s).
        DWORD_PTR r;
        SendMessageTimeoutA(dialog, WM_COMMAND, IDOK, 0, SMTO_NORMAL, 1000, &r);
        return 0;
    }
    if (cmd == "find-open") return FindDialog(0) ? 0 : 1;
    if (cmd == "close-find") {
        PostMessageA(FindDialog(0), WM_COMMAND, IDCANCEL, 0);
        for (int i = 0; i < 100 && FindDialog(0); ++i)
            Sleep(50);
        return FindDialog(0) ? 6 : 0;
    }
    const LRESULT top = SendMessageA(c.logView, EM_GETFIRSTVISIBLELINE, 0, 0);
    if (cmd == "view-state") {
        DWORD start = 0, end = 0;
        SendMessageA(c.logView, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        const LRESULT lines = SendMessageA(c.logView, EM_GETLINECOUNT, 0, 0);
        return std::printf("%lu %lu %ld %ld\n", start, end, static_cast<long>(top), static_cast<long>(lines)), 0;
    }
    if (cmd == "scroll-to") return SendMessageA(c.logView, EM_LINESCROLL, 0, std::atoi(arg) - top), 0;
    if (cmd == "line-height") {
        // The rich edit 1.0 form of EM_POSFROMCHAR: the point comes back in the result.
        const LRESULT second = SendMessageA(c.logView, EM_LINEINDEX, 1, 0);
        const int y0 = HIWORD(SendMessageA(c.logView, EM_POSFROMCHAR, 0, 0));
        return std::printf("%d\n", HIWORD(SendMessageA(c.logView, EM_POSFROMCHAR, second, 0)) - y0), 0;
    }
    if (cmd == "scroll-bars") {
        const LONG style = GetWindowLongA(c.logView, GWL_STYLE);
        return std::printf("%d %d\n", (style & WS_HSCROLL) != 0, (style & WS_VSCROLL) != 0), 0;
    }
    if (cmd == "colour") {  // read into the monitor's own memory, as the probe's means nothing there
        HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, MonitorPid());
        CHARFORMATA f{sizeof f, 0, 0, 0, 0, 0, 0, 0, {}};
        void* remote = process ? VirtualAllocEx(process, nullptr, sizeof f, MEM_COMMIT, PAGE_READWRITE) : nullptr;
        if (!remote || !WriteProcessMemory(process, remote, &f, sizeof f, nullptr)) return 6;
        SendMessageA(c.logView, EM_SETSEL, std::atoi(arg), std::atoi(arg) + 1);
        SendMessageA(c.logView, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(remote));
        ReadProcessMemory(process, remote, &f, sizeof f, nullptr), VirtualFreeEx(process, remote, 0, MEM_RELEASE);
        const int r = GetRValue(f.crTextColor), g = GetGValue(f.crTextColor), b = GetBValue(f.crTextColor);
        return CloseHandle(process), std::printf("%d %d %d\n", r, g, b), 0;
    }
    if (cmd == "focus") {
        GUITHREADINFO gui{};
        gui.cbSize = sizeof gui;
        GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &gui);
        const HWND f = gui.hwndFocus, root = GetAncestor(f, GA_ROOT), owner = GetWindow(root, GW_OWNER);
        const char* in = GetDlgItem(root, kFindText) ? "find"
                         : f == c.stopButton         ? "stop"
                         : f == c.clearButton        ? "clear"
                         : f == c.commandLine        ? "command"
                         : owner == main             ? "box:main"
                         : owner                     ? "box:find"
                                                     : "main";
        return std::printf("%s\n", f == c.logView ? "view" : f == c.filterBox ? "filter" : f ? in : "none"), 0;
    }
    if (cmd == "dpi-changed" && argc > 3) {
        const int now = std::atoi(argv[2]), was = std::atoi(argv[3]);
        RECT r;
        GetWindowRect(main, &r);
        r.right = r.left + MulDiv(r.right - r.left, now, was), r.bottom = r.top + MulDiv(r.bottom - r.top, now, was);
        // The suggested rectangle goes into the monitor's own memory: a pointer into the
        // probe's would mean nothing there.
        DWORD pid = MonitorPid();
        HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
        void* remote = process ? VirtualAllocEx(process, nullptr, sizeof r, MEM_COMMIT, PAGE_READWRITE) : nullptr;
        if (!remote || !WriteProcessMemory(process, remote, &r, sizeof r, nullptr)) return 6;
        SendMessageA(main, WM_DPICHANGED, MAKEWPARAM(now, now), reinterpret_cast<LPARAM>(remote));
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
        return CloseHandle(process), 0;
    }
    if (cmd == "wheel") {
        SetForegroundWindow(main);
        Click(c.logView, false);  // the pointer over it
        INPUT in[3] = {{INPUT_KEYBOARD, {}}, {INPUT_MOUSE, {}}, {INPUT_KEYBOARD, {}}};
        in[0].ki.wVk = in[2].ki.wVk = VK_CONTROL, in[2].ki.dwFlags = KEYEVENTF_KEYUP;
        in[1].mi.dwFlags = MOUSEEVENTF_WHEEL, in[1].mi.mouseData = static_cast<DWORD>(std::atoi(arg) * WHEEL_DELTA);
        return SendInput(3, in, sizeof(INPUT)) == 3 ? 0 : 6;
    }
    return 2;
}
