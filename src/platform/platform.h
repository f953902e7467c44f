// src/platform/platform.h
// The thin edge between the monitor's logic and the operating system. On Windows every
// function is one Win32 call (win32.cpp); the native build puts the tests' stand-ins
// behind the same names so that the logic can be tested without Wine.
#pragma once
#include <cstddef>
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
inline constexpr unsigned kEmGetSel = 0x00B0;  // wParam, lParam: where to put start and end (uint32_t)
inline constexpr unsigned kEmSetSel = 0x00B1;  // wParam the anchor, lParam the active end
inline constexpr unsigned kEmLineScroll = 0x00B6;
inline constexpr unsigned kEmGetLineCount = 0x00BA;
inline constexpr unsigned kEmLineIndex = 0x00BB;
inline constexpr unsigned kEmLineLength = 0x00C1;  // wParam: a position in the line
inline constexpr unsigned kEmReplaceSel = 0x00C2;
inline constexpr unsigned kEmGetFirstVisibleLine = 0x00CE;
inline constexpr unsigned kEmGetCharFormat = 0x043A;
inline constexpr unsigned kEmExLineFromChar = 0x0436;  // lParam: the position, past 64K too
inline constexpr unsigned kEmGetEventMask = 0x043B;
inline constexpr unsigned kEmSetBkgndColor = 0x0443;  // wParam 0, lParam the colour
inline constexpr unsigned kEmSetCharFormat = 0x0444;
inline constexpr unsigned kEmSetEventMask = 0x0445;
inline constexpr unsigned kEmSetTargetDevice = 0x0448;  // lParam 0: wrap at the window's width; 1: no wrap
// EM_SETCHARFORMAT's wParam and CHARFORMAT's mask bits the logic uses.
inline constexpr uintptr_t kScfDefault = 0x0000;    // the format of text typed where none is set
inline constexpr uintptr_t kScfSelection = 0x0001;  // on an empty selection, the insertion point
inline constexpr uintptr_t kScfAll = 0x0004;
inline constexpr uint32_t kCfmSize = 0x80000000;
inline constexpr uint32_t kCfmColor = 0x40000000;
// The rich edit's notice of a changed selection (EN_SELCHANGE), in its event mask.
inline constexpr intptr_t kEnmSelChange = 0x00080000;
inline constexpr unsigned kEmGetZoom = 0x04E0;  // wParam, lParam: where to put numerator and denominator (int32_t)
inline constexpr unsigned kEmSetZoom = 0x04E1;

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
// The local wall clock, in milliseconds since 1601-01-01 read as local time (GetLocalTime):
// what the user's clock says, so it may jump back (a correction, daylight saving's end).
int64_t LocalClockMs();

intptr_t SendToWindow(WindowRef window, unsigned message, uintptr_t wParam, intptr_t lParam);
void RepaintNow(WindowRef window);  // UpdateWindow
// RedrawWindow with RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN: the whole
// control, its border and scroll bars too, as WM_SETREDRAW's documentation asks once
// redraw is back on.
void RedrawWhole(WindowRef window);
void SetCaption(WindowRef window, const char* text);  // SetWindowTextA
void ShowError(WindowRef owner, const char* text);    // MessageBoxA, caption "Error", MB_OK
// The name a screen reader announces for a control whose label is not a control of its own
// (the dynamic annotation of Microsoft Active Accessibility). Where the system refuses it or
// has no such service the control stays unnamed, and nothing else changes. Cleared before
// the control is destroyed (only the window does that: no stand-in).
void SetAccessibleName(WindowRef control, const char* name);
void ClearAccessibleName(WindowRef control);

// LoadLibraryExA: the library's own dependencies come from its folder or the system
// folder, never from the program's folder, the current folder or PATH; so do the DLLs it
// loads by name at run time (its folder joins the process's search, once).
// When the load fails, error (if given) gets the system's error number.
LibraryRef LoadLibraryAt(const char* path, uint32_t* error = nullptr);
void* FindExport(LibraryRef library, const char* name);  // GetProcAddress

// What is at a path: whether a file (not a folder) is there, its size and when it was last
// written, and up to `most` of its first bytes (none when it cannot be read; for 0 it is
// not opened at all).
struct FileHead {
    bool exists = false;
    uint64_t size = 0;
    std::string bytes;
    uint64_t written = 0;
};
FileHead ReadFileHead(const char* path, size_t most);
// The system's text for an error number (FormatMessageA), inserts such as %1 left as they
// are; empty when the system has none.
std::string SystemErrorText(uint32_t error);

// The host test's view of the desktop: whether a window of the host's class exists, and
// the device-form image name of a process opened with the given access (false when it
// cannot be opened or named).
inline constexpr uint32_t kProcessQueryLimitedInformation = 0x1000;
bool HostWindowExists();
bool ProcessImageName(uint32_t processId, uint32_t access, char* name, size_t size);

// Bytes from address on that are committed and readable (VirtualQuery); 0 when none are.
size_t ReadableBytesAt(const void* address);

// The hand-off file and the editor's command sender. The file is written and deleted
// only through an open that follows no link: a file at the fixed path that is a link, is
// reached through a junction or has a second name is left alone, and reported as
// kErrorNotThePlainFile. Each returns 0 on success, else the system's error number.
inline constexpr uint32_t kErrorNotThePlainFile = 4395;  // ERROR_REPARSE_POINT_ENCOUNTERED
// Written as text mode "w" writes it. For kErrorNotThePlainFile, leadsTo (if given) gets
// where the path really leads, as far as it could be told.
uint32_t WriteHandOffFile(const std::string& text, std::string* leadsTo = nullptr);
uint32_t DeleteHandOffFile();
bool CommandSenderExists();  // only the window asks: no stand-in
// Starts the sender (CreateProcessA: its path quoted and "-file", no console, hidden, the
// monitor's folder) and keeps its process; null, with the error, when it cannot be started.
using ProcessRef = void*;
ProcessRef StartCommandSender(uint32_t* error);
bool ProcessEnded(ProcessRef process);
void ReleaseProcess(ProcessRef process);

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
