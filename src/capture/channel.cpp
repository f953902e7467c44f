// src/capture/channel.cpp
// Owns the debug-output channel. Writers wait for DBWIN_BUFFER_READY, fill the section
// and signal DBWIN_DATA_READY; the monitor thread runs each message through the pipeline
// and only then releases the section, so every writer is paced by the pipeline.
#include "capture/channel.h"

#include <process.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "capture/quiet_watch.h"
#include "capture/receive.h"
#include "capture/state.h"
#include "platform/platform.h"
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
bool gThreadRunning = false;

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

// Still ready means nobody holds the buffer. Looking takes it, so it is given back.
bool BufferStillReady() {
    if (WaitForSingleObject(gBufferReady, 0) != WAIT_OBJECT_0) return false;
    SetEvent(gBufferReady);
    return true;
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
    gMapping = CreateFileMappingA(INVALID_HANDLE_VALUE, &gAttributes, PAGE_READWRITE, 0,
                                  static_cast<DWORD>(kChannelSize), "DBWIN_BUFFER");
    if (!gMapping) ReportFatal(kFatalMapping, GetLastError());
    // The whole section, whatever its size: another program may have created it smaller
    // than ours, and a view larger than the section is refused. The text is read to its
    // NUL, never past what the view holds.
    gView = static_cast<const unsigned char*>(MapViewOfFile(gMapping, FILE_MAP_READ, 0, 0, 0));
    if (!gView) ReportFatal(kFatalView, GetLastError());
    // A section another program made first may be reserved but never committed: the
    // first read of it would fault. That is a section no monitor can use.
    gTextCapacity = ChannelTextCapacity(gView);
    if (gTextCapacity == 0) ReportFatal(kFatalMapping, ERROR_NOACCESS);
    Monitor().lastProcessId = 0xFFFFFFFF;
    Monitor().headerNeeded = 1;
    SetEvent(gBufferReady);
}

HANDLE StartMonitorThread() {
    gStopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    auto thread = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, MonitorThreadMain, nullptr, 0, nullptr));
    if (!thread) return nullptr;
    gThreadRunning = true;
    if (!DuplicateHandle(GetCurrentProcess(), thread, GetCurrentProcess(), &gThread, SYNCHRONIZE, FALSE, 0)) {
        gThread = nullptr;  // the stop then reports that it cannot wait for the thread
    }
    return thread;
}

bool StopMonitorThread(DWORD timeoutMs) {
    if (!gThreadRunning) return true;
    if (!gStopEvent || !gThread || !SetEvent(gStopEvent)) return false;
    if (!WaitServingSends(gThread, timeoutMs)) return false;
    gThreadRunning = false;
    return true;
}

unsigned __stdcall MonitorThreadMain(void*) {
    // The stop event comes first: with writers flooding, data is always ready too. Without
    // one (it could not be made) the thread only serves the channel.
    HANDLE waits[2] = {gStopEvent, gDataReady};
    HANDLE* first = gStopEvent ? waits : waits + 1;
    const DWORD count = gStopEvent ? 2 : 1;
    const DWORD dataReady = WAIT_OBJECT_0 + count - 1;
    static char text[kChannelTextSize + 1];
    QuietWatch watch;
    for (;;) {
        DWORD result = WaitForMultipleObjects(count, first, FALSE, QuietWatchWaitMs(watch, TickNow()));
        if (result == WAIT_TIMEOUT) {
            // A holder that died or hangs is given its grace, then the next writer may go;
            // unless its data came after all, in the moment since the wait ended.
            if (!QuietWatchLook(watch, BufferStillReady(), TickNow())) continue;
            result = WaitForMultipleObjects(count, first, FALSE, 0);
            if (result == WAIT_TIMEOUT) {
                SetEvent(gBufferReady);
                continue;
            }
        }
        if (gStopEvent && result == WAIT_OBJECT_0) return 0;
        RaiseMainWindow();
        if (result != dataReady) ReportFatal(kFatalWait, GetLastError());

        uint32_t processId;
        std::memcpy(&processId, gView, sizeof processId);
        // The writer's text is never trusted to be terminated.
        const void* end = std::memchr(gView + 4, 0, gTextCapacity);
        const size_t length = end ? static_cast<const unsigned char*>(end) - (gView + 4) : gTextCapacity;
        std::memcpy(text, gView + 4, length);
        text[length] = '\0';
        ReceiveMessage(processId, text);
        SetEvent(gBufferReady);
        QuietWatchServed(watch);
    }
}
