// tests/tools/writer.cpp
// A writer of debug output for the end-to-end tests, built twice: as kumogata.exe (the
// stand-in host editor, which can show a "Kumogata32Class" window) and as plainwriter.exe.
// Each argument is one step:
//   --window             create the host editor's top-level window first
//   t:TEXT               OutputDebugStringA(TEXT); escapes \n \r \t \\ \xHH
//   n:COUNT:PREFIX       COUNT lines "PREFIX<i>\n", i = 1..COUNT
//   every:MS:FOR:TEXT    TEXT every MS milliseconds until FOR milliseconds have passed
//   s:MS                 sleep
//   serve:MS             for MS milliseconds, answer each command the stand-in sender
//                        relays (WM_COPYDATA) with the debug line "コマンド受信: <text>\n"
//   raw-full             the channel protocol by hand: 4092 text bytes and no NUL
//   raw-empty            the protocol by hand: an empty text
//   raw-pid:PID:TEXT     the protocol by hand, claiming another process id
//   die-holding          take the writers' mutex and the buffer, then exit without data
//   make-section:SIZE    create DBWIN_BUFFER of SIZE bytes (before a monitor does), keep it
//   make-reserved-section  create it reserved but never committed, keep it
//   -                    further steps from standard input, one per line, until it ends
// At the end it waits until the monitor has taken the last message, so a host's last
// line is still the host's when it is judged. A message the monitor did not take within
// the system's 10 s (the call then drops it without a word) makes the exit code 4.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "escape.h"

namespace {
constexpr int kNotDelivered = 4;
// The system call gives up after 10 s without saying so; a call that took this long
// almost certainly gave up.
constexpr DWORD kGaveUpMs = 9500;
int gUndelivered = 0;

void Write(const std::string& text) {
    const DWORD start = GetTickCount();
    OutputDebugStringA(text.c_str());
    if (GetTickCount() - start >= kGaveUpMs) ++gUndelivered;
}

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

// A writer killed between taking the buffer and signalling its data, as the system
// call's writers take it: the writers' mutex first, then the buffer.
int DieHolding() {
    HANDLE mutex = CreateMutexA(nullptr, FALSE, "DBWinMutex");
    HANDLE ready = OpenEventA(SYNCHRONIZE, FALSE, "DBWIN_BUFFER_READY");
    if (!mutex || !ready) return 3;
    WaitForSingleObject(mutex, 10000);
    if (WaitForSingleObject(ready, 10000) != WAIT_OBJECT_0) return 3;
    std::printf("holding\n");
    std::fflush(stdout);
    ExitProcess(0);
}

bool WaitUntilTaken() {
    HANDLE ready = OpenEventA(SYNCHRONIZE | EVENT_MODIFY_STATE, FALSE, "DBWIN_BUFFER_READY");
    if (!ready) return true;  // no monitor: nothing was to be taken
    const bool taken = WaitForSingleObject(ready, 10000) == WAIT_OBJECT_0;
    if (taken) SetEvent(ready);
    CloseHandle(ready);
    return taken;
}

// The stand-in editor's answers, written outside the sender's call so that it returns.
constexpr UINT kAnswer = WM_APP + 1;
std::vector<std::string> gCommands;

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        gCommands.emplace_back(static_cast<const char*>(data->lpData), data->cbData);
        PostMessageA(window, kAnswer, 0, 0);
        return TRUE;
    }
    if (message == kAnswer) {
        for (const std::string& command : gCommands)
            Write("\x83\x52\x83\x7D\x83\x93\x83\x68\x8E\xF3\x90\x4D: " + command + "\n");  // "コマンド受信: "
        gCommands.clear();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateHostWindow() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = HostWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "Kumogata32Class";
    RegisterClassA(&wc);
    return CreateWindowExA(0, "Kumogata32Class", "kumogata stand-in", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                           nullptr, wc.hInstance, nullptr);
}

void Serve(DWORD ms) {
    const DWORD start = GetTickCount();
    for (DWORD elapsed = 0; elapsed < ms; elapsed = GetTickCount() - start) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }
}

bool MakeSection(DWORD protection, DWORD size) {
    // Held until the process ends: the monitor then finds it already made.
    if (!CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, protection, 0, size, "DBWIN_BUFFER")) return false;
    std::printf("section ready\n");
    std::fflush(stdout);
    return true;
}

// One step; 0 when done, else the exit code.
int Step(const char* a) {
    if (!std::strcmp(a, "--window")) {
        if (!CreateHostWindow()) return 2;
    } else if (!std::strncmp(a, "t:", 2)) {
        Write(Unescape(a + 2));
    } else if (!std::strncmp(a, "n:", 2)) {
        char* rest;
        const long count = std::strtol(a + 2, &rest, 10);
        const std::string prefix = Unescape(*rest == ':' ? rest + 1 : rest);
        for (long k = 1; k <= count; ++k)
            Write(prefix + std::to_string(k) + "\n");
    } else if (!std::strncmp(a, "every:", 6)) {
        char* rest;
        const DWORD every = std::strtoul(a + 6, &rest, 10);
        const DWORD total = std::strtoul(*rest == ':' ? rest + 1 : rest, &rest, 10);
        const std::string text = Unescape(*rest == ':' ? rest + 1 : rest);
        const DWORD start = GetTickCount();
        for (DWORD next = 0; next < total; next += every) {
            const DWORD now = GetTickCount() - start;
            if (now < next) Sleep(next - now);
            Write(text);
        }
    } else if (!std::strncmp(a, "s:", 2)) {
        Sleep(static_cast<DWORD>(std::atoi(a + 2)));
    } else if (!std::strncmp(a, "serve:", 6)) {
        Serve(std::strtoul(a + 6, nullptr, 10));
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
    } else if (!std::strcmp(a, "die-holding")) {
        return DieHolding();
    } else if (!std::strncmp(a, "make-section:", 13)) {
        if (!MakeSection(PAGE_READWRITE, std::strtoul(a + 13, nullptr, 10))) return 3;
    } else if (!std::strcmp(a, "make-reserved-section")) {
        if (!MakeSection(PAGE_READWRITE | SEC_RESERVE, 4096)) return 3;
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
    if (!WaitUntilTaken()) ++gUndelivered;
    if (gUndelivered) {
        std::fprintf(stderr, "%d message(s) not taken by the monitor within 10 s\n", gUndelivered);
        return kNotDelivered;
    }
    return 0;
}
