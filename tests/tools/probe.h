// tests/tools/probe.h
// What the probe's command files share: the monitor's window and its controls, real input.
#pragma once
#include <windows.h>

#include <initializer_list>
#include <string>

HWND Main();
struct Children {
    HWND logView = nullptr, filterBox = nullptr, stopButton = nullptr, clearButton = nullptr, commandLine = nullptr;
};
Children Find();
void Click(HWND window, bool right);
void PressKeys(std::initializer_list<WORD> keys);  // a chord: down in order, up in reverse
DWORD MonitorPid();
// A dialog of process pid (any process's for 0), with that item if one is named, waited for
// up to waitMs; null if none came.
HWND WaitForDialog(DWORD pid, int item = 0, int waitMs = 10000);
void PressKey(WORD key);
int SaveBytes(const char* path, const char* bytes, size_t n);
bool Painted(HWND window);  // the window and its visible children have no update pending
// Boxes, dialogs, menus and the clipboard (probe_dialogs.cpp); 2 for a command that is none of them.
int DialogCommand(const std::string& cmd, const char* arg);
// The process's GDI objects and windows (probe_objects.cpp), also where Wine does not count them.
DWORD GdiObjects(HANDLE process);
DWORD UserObjects(DWORD pid, HANDLE process);

// The reading features' commands (probe_reading.cpp); 2 for a command that is none of them.
int ReadingCommand(const std::string& cmd, int argc, char** argv, HWND main, const Children& c);
