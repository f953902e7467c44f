// tests/tools/kgjre_loader.cpp
// A shared-message library that, as an editor's library may, loads a helper DLL of its own
// by name at run time, from its own folder: the recording library, there as kgjre_dep.dll.
// It hands every text on to the helper, so the helper's record shows whether it loaded.
#include <windows.h>

using SetSharedMessageFn = void (*)(const char*);

extern "C" __declspec(dllexport) void SetSharedMessage(const char* text) {
    static HMODULE helper = LoadLibraryA("kgjre_dep.dll");
    if (!helper) return;
    if (auto send =
            reinterpret_cast<SetSharedMessageFn>(reinterpret_cast<void*>(GetProcAddress(helper, "SetSharedMessage"))))
        send(text);
}
