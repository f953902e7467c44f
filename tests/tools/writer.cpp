// tests/tools/writer.cpp
// A writer of debug output for the end-to-end tests, built twice: as kumogata.exe (the
// stand-in host editor, which can show a "Kumogata32Class" window) and as plainwriter.exe.
// Each argument is one step:
//   --window           create the host editor's top-level window first
//   t:TEXT             OutputDebugStringA(TEXT); escapes \n \r \t \\ \xHH
//   n:COUNT:PREFIX     COUNT lines "PREFIX<i>\n", i = 1..COUNT
//   s:MS               sleep
//   raw-full           the channel protocol by hand: 4092 text bytes and no NUL
//   raw-empty          the protocol by hand: an empty text
//   raw-pid:PID:TEXT   the protocol by hand, claiming another process id
//   make-section:SIZE  create DBWIN_BUFFER of SIZE bytes (before a monitor does), keep it
//   -                  further steps from standard input, one per line, until it ends
// At the end it waits until the monitor has taken the last message, so a host's last
// line is still the host's when it is judged.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "escape.h"

namespace {
// Writes one message the way the system call does, but with any bytes and any pid.
bool WriteRaw(DWORD pid, const char* bytes, size_t length) {
    HANDLE ready = OpenEventA(SYNCHRONIZE, FALSE, "DBWIN_BUFFER_READY");
    HANDLE data = OpenEventA(EVENT_MODIFY_STATE, FALSE, "DBWIN_DATA_READY");
    HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, "DBWIN_BUFFER");
    if (!ready || !data || !mapping) return false;
    auto* view = static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 4096));
    if (WaitForSingleObject(ready, 10000) != WAIT_OBJECT_0) return false;
    std::memcpy(view, &pid, 4);
    std::memcpy(view + 4, bytes, length);
    SetEvent(data);
    UnmapViewOfFile(view);
    CloseHandle(mapping);
    CloseHandle(data);
    CloseHandle(ready);
    return true;
}

void WaitUntilTaken() {
    HANDLE ready = OpenEventA(SYNCHRONIZE | EVENT_MODIFY_STATE, FALSE, "DBWIN_BUFFER_READY");
    if (!ready) return;
    if (WaitForSingleObject(ready, 10000) == WAIT_OBJECT_0) SetEvent(ready);
    CloseHandle(ready);
}

HWND CreateHostWindow() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "Kumogata32Class";
    RegisterClassA(&wc);
    return CreateWindowExA(0, "Kumogata32Class", "kumogata stand-in", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                           nullptr, wc.hInstance, nullptr);
}

// One step; 0 when done, else the exit code.
int Step(const char* a) {
    if (!std::strcmp(a, "--window")) {
        if (!CreateHostWindow()) return 2;
    } else if (!std::strncmp(a, "t:", 2)) {
        OutputDebugStringA(Unescape(a + 2).c_str());
    } else if (!std::strncmp(a, "n:", 2)) {
        char* rest;
        const long count = std::strtol(a + 2, &rest, 10);
        const std::string prefix = Unescape(*rest == ':' ? rest + 1 : rest);
        for (long k = 1; k <= count; ++k)
            OutputDebugStringA((prefix + std::to_string(k) + "\n").c_str());
    } else if (!std::strncmp(a, "s:", 2)) {
        Sleep(static_cast<DWORD>(std::atoi(a + 2)));
    } else if (!std::strcmp(a, "raw-full")) {
        std::string full(4092, 'F');
        if (!WriteRaw(GetCurrentProcessId(), full.data(), full.size())) return 3;
    } else if (!std::strcmp(a, "raw-empty")) {
        if (!WriteRaw(GetCurrentProcessId(), "", 1)) return 3;
    } else if (!std::strncmp(a, "raw-pid:", 8)) {
        char* rest;
        const DWORD pid = std::strtoul(a + 8, &rest, 10);
        const std::string text = Unescape(*rest == ':' ? rest + 1 : rest);
        if (!WriteRaw(pid, text.c_str(), text.size() + 1)) return 3;
    } else if (!std::strncmp(a, "make-section:", 13)) {
        // Held until the process ends: the monitor then finds it already made.
        if (!CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, std::strtoul(a + 13, nullptr, 10),
                                "DBWIN_BUFFER")) {
            return 3;
        }
        std::printf("section ready\n");
        std::fflush(stdout);
    } else if (!std::strcmp(a, "-")) {
        char line[8192];
        while (std::fgets(line, sizeof line, stdin)) {
            line[std::strcspn(line, "\r\n")] = '\0';
            if (const int code = Step(line)) return code;
        }
    } else {
        std::fprintf(stderr, "unknown step: %s\n", a);
        return 2;
    }
    return 0;
}
}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (const int code = Step(argv[i])) return code;
    }
    WaitUntilTaken();
    return 0;
}
