// src/platform/win32.h
// Windows-only parts of the platform layer that the UI sets up.
#pragma once
#include <windows.h>

// Makes the calling thread the UI thread: creates the hidden window through which
// RunOnUiThread hands work over from other threads.
void CreateUiDispatchWindow(HINSTANCE instance);
// After this, work handed over from other threads is dropped: the windows are gone.
void DestroyUiDispatchWindow();
// Waits for a handle while still serving synchronous sends from other threads.
bool WaitServingSends(HANDLE handle, DWORD timeoutMs);

// COM on the UI thread and the service that names controls for screen readers
// (SetAccessibleName): started before the window is made, ended after the loop. A failure
// only leaves the controls unnamed.
void StartAccessibleNames();
void EndAccessibleNames();
