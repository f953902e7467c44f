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
//   probe shot-ready            wait until the window has painted (for screenshots)
//   probe objects               print the monitor process's GDI and USER object counts
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "escape.h"

namespace {
HWND Main() {
    return FindWindowA("KG_DebugMonitor", nullptr);
}

struct Children {
    HWND logView = nullptr, filterBox = nullptr, stopButton = nullptr;
};

BOOL CALLBACK Visit(HWND child, LPARAM p) {
    auto* c = reinterpret_cast<Children*>(p);
    char cls[64] = {};
    GetClassNameA(child, cls, sizeof cls);
    if (!lstrcmpiA(cls, "RICHEDIT")) {
        RECT r;
        GetWindowRect(child, &r);
        // The log view is the tall one; the filter box is one line high.
        ((r.bottom - r.top) > 30 ? c->logView : c->filterBox) = child;
    } else if (!lstrcmpiA(cls, "BUTTON") && GetDlgCtrlID(child) == 50001) {
        c->stopButton = child;
    }
    return TRUE;
}

Children Find() {
    Children c;
    if (HWND m = Main()) EnumChildWindows(m, Visit, reinterpret_cast<LPARAM>(&c));
    return c;
}

// WM_GETTEXT across processes: a too-small buffer returns nothing, so use a large one.
int SaveText(HWND window, const char* path) {
    if (!window) return 4;
    std::vector<char> buffer(16 * 1024 * 1024);
    const LRESULT n = SendMessageA(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    FILE* f = std::fopen(path, "wb");
    if (!f) return 5;
    std::fwrite(buffer.data(), 1, static_cast<size_t>(n), f);
    std::fclose(f);
    return 0;
}

// GDI objects: the system's own count where it keeps one; Wine's GetGuiResources is a
// stub, so there the process's GDI handle table (found from its PEB, as on Windows) is
// read and its live entries counted.
DWORD GdiObjects(HANDLE process) {
    if (const DWORD n = GetGuiResources(process, GR_GDIOBJECTS)) return n;
    using QueryFn = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<QueryFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    struct {
        void* reserved1;
        void* peb;
        void* reserved2[4];
    } basic{};
    if (!query || query(process, 0, &basic, sizeof basic, nullptr) != 0) return 0;
    const size_t tableOffset = sizeof(void*) == 8 ? 0xF8 : 0x94;  // PEB.GdiSharedHandleTable
    void* table = nullptr;
    if (!ReadProcessMemory(process, static_cast<char*>(basic.peb) + tableOffset, &table, sizeof table, nullptr) ||
        !table) {
        return 0;
    }
    struct Entry {
        unsigned long long object;
        unsigned long owner;
        unsigned short unique;
        unsigned char type;
        unsigned char flags;
        unsigned long long user;
    };
    static_assert(sizeof(Entry) == 24);
    std::vector<Entry> entries(0x10000);
    SIZE_T got = 0;
    ReadProcessMemory(process, table, entries.data(), entries.size() * sizeof(Entry), &got);
    DWORD live = 0;
    for (size_t i = 0; i < got / sizeof(Entry); ++i)
        live += entries[i].type != 0;
    return live;
}

struct WindowCount {
    DWORD pid;
    DWORD windows = 0;
};
BOOL CALLBACK CountChild(HWND, LPARAM p) {
    ++reinterpret_cast<WindowCount*>(p)->windows;
    return TRUE;
}
BOOL CALLBACK CountTop(HWND w, LPARAM p) {
    auto* c = reinterpret_cast<WindowCount*>(p);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == c->pid) {
        ++c->windows;
        EnumChildWindows(w, CountChild, p);
    }
    return TRUE;
}

// USER objects: the process's windows, top-level, child and message-only.
DWORD UserObjects(DWORD pid, HANDLE process) {
    if (const DWORD n = GetGuiResources(process, GR_USEROBJECTS)) return n;
    WindowCount c{pid};
    EnumWindows(CountTop, reinterpret_cast<LPARAM>(&c));
    for (HWND w = nullptr; (w = FindWindowExA(HWND_MESSAGE, w, nullptr, nullptr));) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        c.windows += owner == pid;
    }
    return c.windows;
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
    if (cmd == "cancel-dialog") {
        // The font dialog is owned by the log view; wait for it, then cancel it.
        for (int i = 0; i < 200; ++i) {
            if (HWND d = FindWindowA("#32770", nullptr)) return PostMessageA(d, WM_COMMAND, IDCANCEL, 0) ? 0 : 6;
            Sleep(50);
        }
        return 7;
    }
    if (cmd == "dialog-open") return FindWindowA("#32770", nullptr) ? 0 : 1;
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
    return 2;
}
