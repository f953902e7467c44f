// tests/tools/probe_objects.cpp
// The monitor process's GDI and USER object counts, for the probe's "objects" command.
#include <windows.h>

#include <vector>

#include "probe.h"

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

namespace {
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

}  // namespace

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
