// src/capture/channel.cpp
// Owns the debug-output channel. Writers wait for DBWIN_BUFFER_READY, fill the section
// and signal DBWIN_DATA_READY; the monitor thread runs each message through the pipeline
// and only then releases the section, so every writer is paced by the pipeline.
#include "capture/channel.h"

#include <process.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "capture/pipeline.h"
#include "capture/state.h"
#include "platform/win32.h"
#include "texts.h"

namespace {
SECURITY_DESCRIPTOR gDescriptor;
SECURITY_ATTRIBUTES gAttributes;
HANDLE gBufferReady = nullptr;
HANDLE gDataReady = nullptr;
HANDLE gMapping = nullptr;
const unsigned char* gView = nullptr;
size_t gTextCapacity = 0;     // text bytes the view holds after the process id, at most 4092
HANDLE gStopEvent = nullptr;  // asks the thread to end before the process's state goes
HANDLE gThread = nullptr;     // the channel's own handle, for the join at shutdown

void RaiseMainWindow() {
    if (HWND main = FindWindowA(kMainWindowClass, nullptr)) {
        SetWindowPos(main, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
    }
}

// Formats into fatalText and shows it with no owner, as its own text and caption.
void ShowFatalText(const char* format, DWORD code) {
    char* text = Monitor().fatalText;
    std::snprintf(text, sizeof Monitor().fatalText, format, static_cast<int>(code));
    MessageBoxA(nullptr, text, text, MB_OK);
}
}  // namespace

void ReportFatal(const char* format, DWORD code) {
    ShowFatalText(format, code);
    std::exit(1);
}

void OpenCaptureChannel() {
    gAttributes.nLength = sizeof gAttributes;
    gAttributes.bInheritHandle = TRUE;
    gAttributes.lpSecurityDescriptor = &gDescriptor;
    if (!InitializeSecurityDescriptor(&gDescriptor, SECURITY_DESCRIPTOR_REVISION)) {
        ReportFatal(kFatalInitSecurity, GetLastError());
    }
    if (!SetSecurityDescriptorDacl(&gDescriptor, TRUE, nullptr, FALSE)) {
        ReportFatal(kFatalSetDacl, GetLastError());
    }
    gBufferReady = CreateEventA(&gAttributes, FALSE, FALSE, "DBWIN_BUFFER_READY");
    if (!gBufferReady) ReportFatal(kFatalEvent, GetLastError());
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        // Monitors sharing the channel each see only part of the messages: say so.
        ShowFatalText(kOtherMonitorRunning, 0);
    }
    gDataReady = CreateEventA(&gAttributes, FALSE, FALSE, "DBWIN_DATA_READY");
    if (!gDataReady) ReportFatal(kFatalEvent, GetLastError());
    gMapping = CreateFileMappingA(INVALID_HANDLE_VALUE, &gAttributes, PAGE_READWRITE, 0, kChannelSize, "DBWIN_BUFFER");
    if (!gMapping) ReportFatal(kFatalMapping, GetLastError());
    // The whole section, whatever its size: another program may have created it smaller
    // than ours, and a view larger than the section is refused. The text is read to its
    // NUL, never past what the view holds.
    gView = static_cast<const unsigned char*>(MapViewOfFile(gMapping, FILE_MAP_READ, 0, 0, 0));
    if (!gView) ReportFatal(kFatalView, GetLastError());
    MEMORY_BASIC_INFORMATION region{};
    const SIZE_T viewSize = VirtualQuery(gView, &region, sizeof region) ? region.RegionSize : 0;
    gTextCapacity = viewSize > 4 ? std::min<size_t>(viewSize - 4, kChannelTextSize) : 0;
    Monitor().lastProcessId = 0xFFFFFFFF;
    Monitor().headerNeeded = 1;
    SetEvent(gBufferReady);
}

HANDLE StartMonitorThread() {
    gStopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    auto thread = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, MonitorThreadMain, nullptr, 0, nullptr));
    if (!thread) return nullptr;
    DuplicateHandle(GetCurrentProcess(), thread, GetCurrentProcess(), &gThread, SYNCHRONIZE, FALSE, 0);
    return thread;
}

bool StopMonitorThread(DWORD timeoutMs) {
    if (!gThread) return true;
    SetEvent(gStopEvent);
    return WaitServingSends(gThread, timeoutMs);
}

bool IsHostProcess(uint32_t processId) {
    if (!FindWindowA(kHostWindowClass, nullptr)) return false;
    HANDLE process = OpenProcess(PROCESS_ALL_ACCESS, FALSE, processId);
    if (!process) return false;
    char name[260] = {};
    const DWORD length = GetProcessImageFileNameA(process, name, sizeof name);
    CloseHandle(process);
    if (length == 0) return false;  // a writer that cannot be named is not the host
    for (char& c : name) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return std::strstr(name, "kumogata.exe") != nullptr;
}

unsigned __stdcall MonitorThreadMain(void*) {
    // The stop event comes first: with writers flooding, data is always ready too.
    HANDLE waits[2] = {gStopEvent, gDataReady};
    static char text[kChannelTextSize + 1];
    for (;;) {
        const DWORD result = WaitForMultipleObjects(2, waits, FALSE, INFINITE);
        if (result == WAIT_OBJECT_0) return 0;
        RaiseMainWindow();
        if (result != WAIT_OBJECT_0 + 1) ReportFatal(kFatalWait, GetLastError());

        MonitorState& m = Monitor();
        uint32_t processId;
        std::memcpy(&processId, gView, sizeof processId);
        if (processId != m.lastProcessId) {
            m.lastProcessId = processId;
            m.headerNeeded = 1;
        }
        const bool fromHost = IsHostProcess(processId);
        // The writer's text is never trusted to be terminated.
        const void* end = std::memchr(gView + 4, 0, gTextCapacity);
        const size_t length = end ? static_cast<const unsigned char*>(end) - (gView + 4) : gTextCapacity;
        std::memcpy(text, gView + 4, length);
        text[length] = '\0';

        ProcessMessage({processId, text, fromHost});

        m.headerNeeded = length > 0 && text[length - 1] == '\n';
        SetEvent(gBufferReady);
    }
}
