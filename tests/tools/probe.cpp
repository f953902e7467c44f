// tests/tools/probe.cpp
// Looks at and drives the running monitor from outside, as a user would:
//   probe wait-window MS        exit 0 once a window of class KG_DebugMonitor exists
//   probe count-windows         print how many top-level windows of that class exist
//   probe text FILE             the log view's text, exact bytes, into FILE
//   probe filter-text FILE      the filter box's text into FILE
//   probe caption FILE          the stop/resume button's caption into FILE
//   probe filter TEXT           set the filter box's text (escapes as the writer's)
//   probe command ID            WM_COMMAND with that id (buttons and menu items)
//   probe post-command ID       the same, posted (for commands that open a modal dialog)
//   probe cancel-dialog         cancel the open font dialog | dialog-open: exit 0 if one is
//   probe close                 close the window (WM_CLOSE)
//   probe minimize | is-iconic  minimise it | exit 0 when it is minimised
//   probe shot-ready            wait until the window and its controls have painted
//   probe objects               print the monitor process's GDI and USER object counts
//   probe rects                 print "<name> x y width height" in screen pixels: the
//                               client area, log view, filter box, buttons, command line
//   probe resize W H            give the window this outer size
//   probe limit                 print the log view's text limit
//   probe topmost               exit 0 when the window is shown and in the topmost band
//   probe hide                  take it out of the topmost band and hide it
//   probe command-text FILE     the command line's text into FILE (exit 4: no command line)
//   probe set-command TEXT      set the command line's text (escapes as the writer's)
//   probe key-command VK...     click into the command line, then press these keys (real
//                               input: the monitor sees them down); e.g. 13 is Enter
//   probe box-text FILE         wait for a message box of the monitor, its text into FILE
//   probe dismiss-box           press OK in it | press-yes: press Yes in a Yes/No box
//   probe activate              activate another window, then the monitor's
//   probe right-click-view      a real right click in the log view | menu-open: exit 0 if
//                               a popup menu is open | close-menu: Escape
//   probe menu-key-view AT      caret at character AT of the log view, then Shift+F10 there;
//                               print "menu x y" (the popup's top left) and "caret x y"
//                               (the caret's, as the system shows it), screen pixels
//   probe clipboard FILE        the clipboard's text into FILE
//   probe save-as PATH          fill the open save dialog's file name and press Save
//   probe attack-dispatch N     send the hidden dispatch window N messages naming junk and
//                               real addresses (ExitProcess with 77) as the job to run
//   probe licence-page FILE     Next on the installer's first page, the licence page's text
//                               as it shows it into FILE, then Cancel
//   and the reading features' commands: probe_reading.cpp
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "escape.h"
#include "probe.h"

HWND Main() {
    return FindWindowA("KG_DebugMonitor", nullptr);
}

namespace {
BOOL CALLBACK Visit(HWND child, LPARAM p) {
    auto* c = reinterpret_cast<Children*>(p);
    char cls[64] = {};
    GetClassNameA(child, cls, sizeof cls);
    const int id = GetDlgCtrlID(child);
    if (!lstrcmpiA(cls, "RICHEDIT") && id == 2) {
        c->commandLine = child;
    } else if (!lstrcmpiA(cls, "RICHEDIT")) {
        // The log view and the filter box share an id: the log view is the multi-line one.
        ((GetWindowLongA(child, GWL_STYLE) & ES_MULTILINE) ? c->logView : c->filterBox) = child;
    } else if (!lstrcmpiA(cls, "BUTTON")) {
        (id == 50001 ? c->stopButton : c->clearButton) = child;
    }
    return TRUE;
}
}  // namespace

Children Find() {
    Children c;
    if (HWND m = Main()) EnumChildWindows(m, Visit, reinterpret_cast<LPARAM>(&c));
    return c;
}

int SaveBytes(const char* path, const char* bytes, size_t n) {
    FILE* f = std::fopen(path, "wb");
    if (!f) return 5;
    std::fwrite(bytes, 1, n, f);
    std::fclose(f);
    return 0;
}

// WM_GETTEXT across processes: a too-small buffer returns nothing, so use a large one.
namespace {
int SaveText(HWND window, const char* path) {
    if (!window) return 4;
    std::vector<char> buffer(16 * 1024 * 1024);
    const LRESULT n = SendMessageA(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    return SaveBytes(path, buffer.data(), static_cast<size_t>(n));
}

}  // namespace

// Real input, as a user's: the system's key state then says the key is down.
void Click(HWND window, bool right) {
    RECT r;
    GetWindowRect(window, &r);
    const int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
    const int sx = GetSystemMetrics(SM_CXSCREEN), sy = GetSystemMetrics(SM_CYSCREEN);
    INPUT in[3] = {};
    in[0].type = INPUT_MOUSE;
    in[0].mi.dx = x * 65535 / (sx - 1);
    in[0].mi.dy = y * 65535 / (sy - 1);
    in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    in[1].type = in[2].type = INPUT_MOUSE;
    in[1].mi.dwFlags = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    in[2].mi.dwFlags = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    SendInput(3, in, sizeof(INPUT));
}

void PressKeys(std::initializer_list<WORD> keys) {
    // Down in order, up in reverse: modifiers first, as a user presses a chord.
    std::vector<INPUT> in;
    for (WORD key : keys)
        in.push_back(INPUT{INPUT_KEYBOARD, {}}), in.back().ki.wVk = key;
    for (auto k = keys.end(); k != keys.begin();)
        in.push_back(INPUT{INPUT_KEYBOARD, {}}), in.back().ki.wVk = *--k, in.back().ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

bool Painted(HWND window) {
    if (GetUpdateRect(window, nullptr, FALSE)) return false;
    for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (IsWindowVisible(c) && GetUpdateRect(c, nullptr, FALSE)) return false;
    }
    return true;
}

void PressKey(WORD key) {
    PressKeys({key});
}

DWORD MonitorPid() {
    DWORD pid = 0;
    GetWindowThreadProcessId(Main(), &pid);
    return pid ? pid : ~0u;  // no monitor: no dialog of its
}

namespace {
void PrintRect(const char* name, HWND window, bool client) {
    RECT r{};
    if (client) {
        GetClientRect(window, &r);
        MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    } else if (window) {
        GetWindowRect(window, &r);
    }
    std::printf("%s %ld %ld %ld %ld\n", name, r.left, r.top, r.right - r.left, r.bottom - r.top);
}

BOOL CALLBACK Count(HWND w, LPARAM p) {
    char cls[64] = {};
    GetClassNameA(w, cls, sizeof cls);
    if (!std::strcmp(cls, "KG_DebugMonitor")) ++*reinterpret_cast<int*>(p);
    return TRUE;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const std::string cmd = argv[1];
    const char* arg = argc > 2 ? argv[2] : "";
    if (const int code = DialogCommand(cmd, arg); code != 2) return code;
    if (cmd == "wait-window") {
        const DWORD until = GetTickCount() + std::strtoul(arg, nullptr, 10);
        while (!Main() || !Find().stopButton) {
            if (GetTickCount() > until) return 1;
            Sleep(50);
        }
        return 0;
    }
    if (cmd == "count-windows") {
        int n = 0;
        EnumWindows(Count, reinterpret_cast<LPARAM>(&n));
        std::printf("%d\n", n);
        return 0;
    }
    HWND m = Main();
    if (!m) return 3;
    const Children c = Find();
    if (cmd == "text") return SaveText(c.logView, arg);
    if (cmd == "filter-text") return SaveText(c.filterBox, arg);
    if (cmd == "caption") return SaveText(c.stopButton, arg);
    if (cmd == "filter") {
        const std::string text = Unescape(arg);
        return SendMessageA(c.filterBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) ? 0 : 6;
    }
    if (cmd == "command") {
        SendMessageA(m, WM_COMMAND, MAKEWPARAM(std::atoi(arg), 0), 0);
        return 0;
    }
    if (cmd == "post-command") return PostMessageA(m, WM_COMMAND, MAKEWPARAM(std::atoi(arg), 0), 0) ? 0 : 6;
    if (cmd == "close") return PostMessageA(m, WM_CLOSE, 0, 0) ? 0 : 6;
    if (cmd == "minimize") return ShowWindow(m, SW_MINIMIZE), 0;
    if (cmd == "is-iconic") return IsIconic(m) ? 0 : 1;
    if (cmd == "objects") {
        DWORD pid = 0;
        GetWindowThreadProcessId(m, &pid);
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
        if (!process) return 8;
        std::printf("%lu %lu\n", GdiObjects(process), UserObjects(pid, process));
        CloseHandle(process);
        return 0;
    }
    if (cmd == "select-all") return SendMessageA(c.logView, EM_SETSEL, 0, -1), 0;
    if (cmd == "shot-ready") {
        for (int i = 0; i < 100; ++i) {
            DWORD_PTR r;
            SendMessageTimeoutA(m, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &r);  // its queue has been looked at
            if (IsWindowVisible(m) && Painted(m)) return 0;
            Sleep(50);
        }
        return 1;
    }
    if (cmd == "rects") {
        PrintRect("window", m, false);
        PrintRect("client", m, true);
        PrintRect("log-view", c.logView, false);
        PrintRect("filter-box", c.filterBox, false);
        PrintRect("stop-button", c.stopButton, false);
        PrintRect("clear-button", c.clearButton, false);
        PrintRect("command-line", c.commandLine && IsWindowVisible(c.commandLine) ? c.commandLine : nullptr, false);
        return 0;
    }
    if (cmd == "resize" && argc > 3) {
        return SetWindowPos(m, nullptr, 0, 0, std::atoi(argv[2]), std::atoi(argv[3]), SWP_NOMOVE | SWP_NOZORDER) ? 0
                                                                                                                 : 6;
    }
    if (cmd == "limit")
        return std::printf("%ld\n", static_cast<long>(SendMessageA(c.logView, EM_GETLIMITTEXT, 0, 0))), 0;
    if (cmd == "topmost") {
        return IsWindowVisible(m) && (GetWindowLongA(m, GWL_EXSTYLE) & WS_EX_TOPMOST) ? 0 : 1;
    }
    if (cmd == "hide") {
        SetWindowPos(m, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_HIDEWINDOW);
        return IsWindowVisible(m) || (GetWindowLongA(m, GWL_EXSTYLE) & WS_EX_TOPMOST) ? 6 : 0;
    }
    if (cmd == "command-text") return SaveText(c.commandLine, arg);
    if (cmd == "set-command") {
        const std::string text = Unescape(arg);
        if (!c.commandLine) return 4;
        return SendMessageA(c.commandLine, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) ? 0 : 6;
    }
    if (cmd == "key-command") {
        if (!c.commandLine || !IsWindowVisible(c.commandLine)) return 4;
        SetForegroundWindow(m);
        Click(c.commandLine, false);
        for (int i = 2; i < argc; ++i)
            PressKey(static_cast<WORD>(std::atoi(argv[i])));
        return 0;
    }
    if (cmd == "activate") {
        // Away to a window of the probe's and back, as a user switching programs does.
        HWND other = CreateWindowExA(0, "STATIC", "probe", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr,
                                     nullptr, nullptr);
        SetForegroundWindow(other);
        const bool back = SetForegroundWindow(m);
        DestroyWindow(other);
        return back ? 0 : 6;
    }
    if (cmd == "attack-dispatch") {
        HWND dispatch = FindWindowExA(HWND_MESSAGE, nullptr, "KG_DebugMonitorDispatch", nullptr);
        if (!dispatch) return 4;
        // kernel32 lies at the same address in every process of one bitness.
        const auto exitProcess = reinterpret_cast<WPARAM>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "ExitProcess")));
        const int count = std::atoi(arg);
        for (int i = 0; i < count; ++i) {
            const WPARAM job = i % 2 ? exitProcess : static_cast<WPARAM>(0x10000 + i * 4096);
            DWORD_PTR r;
            SendMessageTimeoutA(dispatch, WM_APP + 1, job, 77, SMTO_ABORTIFHUNG, 2000, &r);
        }
        return 0;
    }
    return ReadingCommand(cmd, argc, argv, m, c);
}
