// src/platform/win32_names.cpp
// Names for screen readers through the dynamic annotation service of Microsoft Active
// Accessibility. The service is made through ole32's CoCreateInstance, never by importing
// oleacc.dll: that is not a known DLL, so an import would be looked for beside the program
// first. Every failure here leaves the controls unnamed and nothing else.
#include <windows.h>

// The service's GUIDs are defined by oleacc.h itself when initguid.h comes first (as its
// documentation asks); nothing is linked for them.
#include <initguid.h>
#include <oleacc.h>

#include <string>

#include "platform/platform.h"
#include "platform/win32.h"

namespace {
IAccPropServices* gServices = nullptr;
bool gComStarted = false;

// The service takes UTF-16 only. The fixed texts are Shift_JIS whatever the system's code
// page, so they are read as code page 932.
std::wstring Utf16(const char* text) {
    const int n = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, text, -1, nullptr, 0);
    if (n <= 1) return {};
    std::wstring wide(static_cast<size_t>(n), L'\0');
    if (!MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, text, -1, wide.data(), n)) return {};
    wide.resize(static_cast<size_t>(n - 1));
    return wide;
}
}  // namespace

void StartAccessibleNames() {
    // Apartment-threaded, as a window's thread must be; S_FALSE (already started) is a start
    // that CoUninitialize must balance too (CoInitializeEx's documentation).
    gComStarted = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    if (!gComStarted) return;
    void* services = nullptr;
    if (SUCCEEDED(
            CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices, &services))) {
        gServices = static_cast<IAccPropServices*>(services);
    }
}

void EndAccessibleNames() {
    if (gServices) gServices->Release();
    gServices = nullptr;
    if (gComStarted) CoUninitialize();
    gComStarted = false;
}

void SetAccessibleName(WindowRef control, const char* name) {
    const std::wstring wide = Utf16(name);
    if (!gServices || !control || wide.empty()) return;
    gServices->SetHwndPropStr(static_cast<HWND>(control), static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                              PROPID_ACC_NAME, wide.c_str());
}

void ClearAccessibleName(WindowRef control) {
    if (!gServices || !control) return;
    MSAAPROPID name = PROPID_ACC_NAME;
    gServices->ClearHwndProps(static_cast<HWND>(control), static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &name, 1);
}
