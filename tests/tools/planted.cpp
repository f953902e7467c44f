// tests/tools/planted.cpp
// A library planted beside the monitor under the name of a system library (winmm.dll,
// riched32.dll). Loaded, it leaves "<its own path>.loaded"; it exports timeGetTime, so a
// program importing winmm.dll would start with it and never notice.
#define WIN32_LEAN_AND_MEAN  // leaves out the system's own timeGetTime declaration
#include <windows.h>

#include <string>

extern "C" __declspec(dllexport) DWORD WINAPI timeGetTime() {
    return GetTickCount();
}

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        char path[MAX_PATH];
        const DWORD n = GetModuleFileNameA(self, path, MAX_PATH);
        const std::string marker = std::string(path, n) + ".loaded";
        HANDLE f = CreateFileA(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
    }
    return TRUE;
}
