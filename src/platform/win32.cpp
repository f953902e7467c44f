// src/platform/win32.cpp
// The platform layer on Windows: each function is the Win32 call it names.
#include "platform/win32.h"

#include <psapi.h>
#include <richedit.h>

#include <atomic>
#include <cstddef>
#include <mutex>
#include <string>

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
static_assert(kEmGetSel == EM_GETSEL && kEmGetLineCount == EM_GETLINECOUNT && kEmLineIndex == EM_LINEINDEX);
static_assert(kEmExLineFromChar == EM_EXLINEFROMCHAR && kEmGetFirstVisibleLine == EM_GETFIRSTVISIBLELINE);
static_assert(kEmLineLength == EM_LINELENGTH && kEmSetTargetDevice == EM_SETTARGETDEVICE);
static_assert(kEmGetEventMask == EM_GETEVENTMASK && kEmSetEventMask == EM_SETEVENTMASK &&
              kEnmSelChange == ENM_SELCHANGE);
static_assert(kScfDefault == SCF_DEFAULT && kScfSelection == SCF_SELECTION && kScfAll == SCF_ALL);
static_assert(kCfmSize == CFM_SIZE && kCfmColor == CFM_COLOR && kEmSetBkgndColor == EM_SETBKGNDCOLOR);
static_assert(sizeof(uint32_t) == sizeof(DWORD));  // what EM_GETSEL writes
static_assert(kEmGetZoom == EM_GETZOOM && kEmSetZoom == EM_SETZOOM && sizeof(int32_t) == sizeof(INT));

namespace {
// timeGetTime from the system folder's winmm.dll, looked up at run time: an import of
// winmm.dll (not a known DLL) would be resolved from the program's own folder first,
// before any of our code runs, so a winmm.dll dropped beside the program would run in it.
using TickFn = DWORD(WINAPI*)();
TickFn SystemTimeGetTime() {
    HMODULE winmm = LoadLibraryExA("winmm.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    auto fn = winmm ? reinterpret_cast<TickFn>(reinterpret_cast<void*>(GetProcAddress(winmm, "timeGetTime"))) : nullptr;
    // The same millisecond count since start-up, wrapping alike, at the tick's coarser steps.
    return fn ? fn : GetTickCount;
}
}  // namespace

uint32_t TickNow() {
    static const TickFn tick = SystemTimeGetTime();
    return tick();
}

int64_t LocalClockMs() {
    SYSTEMTIME local;
    GetLocalTime(&local);
    // A count that runs on through midnight and the year's end; only the conversion, no
    // second clock read.
    FILETIME counted{};
    SystemTimeToFileTime(&local, &counted);
    return static_cast<int64_t>((static_cast<uint64_t>(counted.dwHighDateTime) << 32) | counted.dwLowDateTime) / 10000;
}

intptr_t SendToWindow(WindowRef window, unsigned message, uintptr_t wParam, intptr_t lParam) {
    return SendMessageA(static_cast<HWND>(window), message, wParam, lParam);
}
void RepaintNow(WindowRef window) {
    UpdateWindow(static_cast<HWND>(window));
}
void RedrawWhole(WindowRef window) {
    RedrawWindow(static_cast<HWND>(window), nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}
void SetCaption(WindowRef window, const char* text) {
    SetWindowTextA(static_cast<HWND>(window), text);
}
void ShowError(WindowRef owner, const char* text) {
    MessageBoxA(static_cast<HWND>(owner), text, kErrorCaption, MB_OK);
}

namespace {
// The process looks for DLLs by name in the system folder only; a library loaded from its
// own (trusted) folder may load helpers of its own by name from there at run time, so
// that folder, and no other, joins the search. Once: it is tried until the folder exists.
void AllowLoadsFromFolderOf(const char* path) {
    static bool allowed = false;
    if (allowed) return;
    const std::string file = path;
    const size_t slash = file.find_last_of('\\');
    if (slash == std::string::npos) return;
    const std::string folder = file.substr(0, slash);
    // The call exists only in the wide form.
    wchar_t wide[MAX_PATH] = {};
    if (!MultiByteToWideChar(CP_ACP, 0, folder.c_str(), -1, wide, MAX_PATH)) return;
    if (!AddDllDirectory(wide)) return;
    allowed = SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32 | LOAD_LIBRARY_SEARCH_USER_DIRS) != 0;
}
}  // namespace

LibraryRef LoadLibraryAt(const char* path, uint32_t* error) {
    AllowLoadsFromFolderOf(path);
    HMODULE library = LoadLibraryExA(path, nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!library && error) *error = GetLastError();
    return library;
}

FileHead ReadFileHead(const char* path, size_t most) {
    FileHead head;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data) || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return head;
    head.exists = true;
    head.size = static_cast<uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
    head.written =
        static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32 | data.ftLastWriteTime.dwLowDateTime;
    if (most == 0) return head;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return head;
    head.bytes.resize(most);
    DWORD read = 0;
    if (!ReadFile(file, head.bytes.data(), static_cast<DWORD>(most), &read, nullptr)) read = 0;
    head.bytes.resize(read);
    CloseHandle(file);
    return head;
}

std::string SystemErrorText(uint32_t error) {
    char* text = nullptr;
    const DWORD n =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    const std::string out = text ? std::string(text, n) : std::string();
    LocalFree(text);
    return out;
}

bool HostWindowExists() {
    return FindWindowA(kHostWindowClass, nullptr) != nullptr;
}

bool ProcessImageName(uint32_t processId, uint32_t access, char* name, size_t size) {
    HANDLE process = OpenProcess(access, FALSE, processId);
    if (!process) return false;
    const DWORD length = GetProcessImageFileNameA(process, name, static_cast<DWORD>(size));
    CloseHandle(process);
    return length != 0;
}

size_t ReadableBytesAt(const void* address) {
    MEMORY_BASIC_INFORMATION region{};
    if (!VirtualQuery(address, &region, sizeof region) || region.State != MEM_COMMIT) return 0;
    constexpr DWORD kReadable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                                PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    if (!(region.Protect & kReadable) || (region.Protect & (PAGE_GUARD | PAGE_NOACCESS))) return 0;
    const size_t offset = static_cast<const char*>(address) - static_cast<const char*>(region.BaseAddress);
    return region.RegionSize - offset;
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

// The job to run lives here, never in the message: any process on the desktop can find
// the window and send it anything, so the message only says "look", and a look finds
// nothing unless one of our threads has put a job here.
struct UiJob {
    void (*fn)(void*);
    void* arg;
};
std::atomic<UiJob*> gPendingJob{nullptr};
std::mutex gSenders;  // one job at a time; only other threads than the UI thread take it

LRESULT CALLBACK DispatchProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kRunMessage) {
        if (UiJob* job = gPendingJob.exchange(nullptr)) job->fn(job->arg);
        return 0;
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
    // Blocks until the UI thread has run it; a window already gone fails at once. A
    // message from elsewhere may run the job a moment early, still on the UI thread and
    // while this thread waits, which is all the job needs.
    std::lock_guard<std::mutex> one(gSenders);
    UiJob job{fn, arg};
    if (HWND dispatch = gDispatch.load()) {
        gPendingJob = &job;
        SendMessageA(dispatch, kRunMessage, 0, 0);
        gPendingJob = nullptr;
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
