// src/platform/platform.h
// The thin edge between the monitor's logic and the operating system. On Windows every
// function is one Win32 call (win32.cpp); the native build (native.cpp) puts stand-ins
// behind the same names so that the logic can be tested without Wine.
#pragma once
#include <cstdint>
#include <new>
#include <string>
#include <type_traits>

// A window the logic talks to: an HWND on Windows, a stand-in control natively.
using WindowRef = void*;
// A loaded library: an HMODULE on Windows, a stand-in library natively.
using LibraryRef = void*;

// Message numbers the logic sends to the rich-edit log view.
inline constexpr unsigned kWmSetRedraw = 0x000B;
inline constexpr unsigned kWmSetText = 0x000C;
inline constexpr unsigned kWmGetTextLength = 0x000E;
inline constexpr unsigned kEmSetSel = 0x00B1;
inline constexpr unsigned kEmLineScroll = 0x00B6;
inline constexpr unsigned kEmReplaceSel = 0x00C2;
inline constexpr unsigned kEmGetCharFormat = 0x043A;
inline constexpr unsigned kEmSetCharFormat = 0x0444;

// Same layout as the rich edit's CHARFORMATA (win32.cpp checks it field by field).
struct CharFormat {
    uint32_t cbSize;
    uint32_t dwMask;
    uint32_t dwEffects;
    int32_t yHeight;
    int32_t yOffset;
    uint32_t crTextColor;
    uint8_t bCharSet;
    uint8_t bPitchAndFamily;
    char szFaceName[32];
};

// The millisecond tick: timeGetTime on Windows. It wraps at 2^32.
uint32_t TickNow();

intptr_t SendToWindow(WindowRef window, unsigned message, uintptr_t wParam, intptr_t lParam);
void RepaintNow(WindowRef window);                    // UpdateWindow
void InvalidateWhole(WindowRef window);               // InvalidateRect of all of it, erasing
void SetCaption(WindowRef window, const char* text);  // SetWindowTextA
void ShowError(WindowRef owner, const char* text);    // MessageBoxA, caption "Error", MB_OK

LibraryRef LoadLibraryAt(const char* path);              // LoadLibraryA
void* FindExport(LibraryRef library, const char* name);  // GetProcAddress

// UTF-8 to UTF-16 and UTF-16 to the OEM code page, each measured and then converted.
std::u16string WidenUtf8(const char* text);
std::string NarrowToOem(const std::u16string& text);

// Runs fn(arg) on the thread that owns the windows and returns when it is done: a
// synchronous window message from any other thread, a plain call on that thread itself.
// The history, the filter text and the log view are only ever touched this way.
void RunOnUiThread(void (*fn)(void*), void* arg);

// Convenience for lambdas: RunOnUi([&] { ... }). Running out of memory on the UI thread
// is handed back to the caller as the same std::bad_alloc, so it costs the caller's
// message only and never unwinds through a window procedure or leaves the caller waiting.
template <typename F>
void RunOnUi(F&& f) {
    struct Job {
        std::remove_reference_t<F>* work;
        bool outOfMemory;
    } job{&f, false};
    RunOnUiThread(
        [](void* p) {
            auto* j = static_cast<Job*>(p);
            try {
                (*j->work)();
            } catch (const std::bad_alloc&) {
                j->outOfMemory = true;
            }
        },
        &job);
    if (job.outOfMemory) throw std::bad_alloc();
}
