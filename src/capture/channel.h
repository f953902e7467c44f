// src/capture/channel.h
// The debug-output channel (DBWIN_BUFFER and its two events) and the monitor thread.
#pragma once
#include <windows.h>

// Creates the channel's objects and signals the first buffer-ready; every failure goes
// to ReportFatal. Shows a notice and carries on when another monitor holds the channel.
void OpenCaptureChannel();

// Starts MonitorThreadMain. The returned handle is the window's to keep and close; the
// channel keeps its own for StopMonitorThread. Null if the thread could not start.
HANDLE StartMonitorThread();

unsigned __stdcall MonitorThreadMain(void*);

// Tells the monitor thread to stop after the message in hand and waits for it (while
// serving its sends to this thread's windows). True once it has ended, or when it never
// started; false when it is still running: it did not stop in time, or it cannot be told
// to stop or be waited for.
bool StopMonitorThread(DWORD timeoutMs);

// Formats text with code into fatalText, shows it (text and caption) and exits with 1.
[[noreturn]] void ReportFatal(const char* format, DWORD code);
