// src/platform/win32.cpp
// The platform layer on Windows: each function is the Win32 call it names.
#include "platform/win32.h"

#include <richedit.h>

#include <atomic>
#include <cstddef>

#include "platform/platform.h"
#include "texts.h"

static_assert(sizeof(CharFormat) == sizeof(CHARFORMATA));
static_assert(offsetof(CharFormat, dwEffects) == offsetof(CHARFORMATA, dwEffects));
static_assert(offsetof(CharFormat, yHeight) == offsetof(CHARFORMATA, yHeight));
static_assert(offsetof(CharFormat, crTextColor) == offsetof(CHARFORMATA, crTextColor));
static_assert(offsetof(CharFormat, bCharSet) == offsetof(CHARFORMATA, bCharSet));
static_assert(offsetof(CharFormat, szFaceName) == offsetof(CHARFORMATA, szFaceName));
static_assert(kEmSetCharFormat == EM_SETCHARFORMAT && kEmGetCharFormat == EM_GETCHARFORMAT);
static_assert(kEmReplaceSel == EM_REPLACESEL && kEmLineScroll == EM_LINESCROLL && kEmSetSel == EM_SETSEL);
static_assert(kWmSetRedraw == WM_SETREDRAW);

uint32_t TickNow() {
    return timeGetTime();
}

intptr_t SendToWindow(WindowRef window, unsigned message, uintptr_t wParam, intptr_t lParam) {
    return SendMessageA(static_cast<HWND>(window), message, wParam, lParam);
}
void RepaintNow(WindowRef window) {
    UpdateWindow(static_cast<HWND>(window));
}
void InvalidateWhole(WindowRef window) {
    InvalidateRect(static_cast<HWND>(window), nullptr, TRUE);
}
void SetCaption(WindowRef window, const char* text) {
    SetWindowTextA(static_cast<HWND>(window), text);
}
void ShowError(WindowRef owner, const char* text) {
    MessageBoxA(static_cast<HWND>(owner), text, kErrorCaption, MB_OK);
}

LibraryRef LoadLibraryAt(const char* path) {
    return LoadLibraryA(path);
}
void* FindExport(LibraryRef library, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

std::u16string WidenUtf8(const char* text) {
    const int m = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    if (m <= 0) return {};
    std::u16string buffer(static_cast<size_t>(m), u'\0');
    const int w = MultiByteToWideChar(CP_UTF8, 0, text, -1, reinterpret_cast<wchar_t*>(buffer.data()), m);
    buffer.resize(w > 0 ? static_cast<size_t>(w - 1) : 0);
    return buffer;
}

std::string NarrowToOem(const std::u16string& text) {
    const auto* wide = reinterpret_cast<const wchar_t*>(text.c_str());
    const int m = WideCharToMultiByte(CP_OEMCP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (m <= 0) return {};
    std::string buffer(static_cast<size_t>(m), '\0');
    const int w = WideCharToMultiByte(CP_OEMCP, 0, wide, -1, buffer.data(), m, nullptr, nullptr);
    buffer.resize(w > 0 ? static_cast<size_t>(w - 1) : 0);
    return buffer;
}

namespace {
constexpr UINT kRunMessage = WM_APP + 1;
constexpr char kDispatchClass[] = "KG_DebugMonitorDispatch";
DWORD gUiThreadId = 0;
std::atomic<HWND> gDispatch{nullptr};

LRESULT CALLBACK DispatchProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kRunMessage) {
        reinterpret_cast<void (*)(void*)>(wParam)(reinterpret_cast<void*>(lParam));
        return 1;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
}  // namespace

void CreateUiDispatchWindow(HINSTANCE instance) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DispatchProc;
    wc.hInstance = instance;
    wc.lpszClassName = kDispatchClass;
    RegisterClassA(&wc);
    gDispatch = CreateWindowExA(0, kDispatchClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    gUiThreadId = GetCurrentThreadId();
}

void DestroyUiDispatchWindow() {
    HWND dispatch = gDispatch.exchange(nullptr);
    if (dispatch) DestroyWindow(dispatch);
}

void RunOnUiThread(void (*fn)(void*), void* arg) {
    if (gUiThreadId == 0 || GetCurrentThreadId() == gUiThreadId) {
        fn(arg);
        return;
    }
    // Blocks until the UI thread has run it; a window already gone fails at once.
    if (HWND dispatch = gDispatch.load()) {
        SendMessageA(dispatch, kRunMessage, reinterpret_cast<WPARAM>(fn), reinterpret_cast<LPARAM>(arg));
    }
}

bool WaitServingSends(HANDLE handle, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs) return false;
        const DWORD r = MsgWaitForMultipleObjects(1, &handle, FALSE, timeoutMs - elapsed, QS_SENDMESSAGE);
        if (r == WAIT_OBJECT_0) return true;
        if (r != WAIT_OBJECT_0 + 1) return false;
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);  // serves the sends
    }
}
