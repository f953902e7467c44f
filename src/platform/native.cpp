// src/platform/native.cpp
// Native stand-ins for the platform layer (see native.h).
#include "platform/native.h"

#include <iconv.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>
#include <utility>

namespace {
std::atomic<uint32_t> gTick{0};
std::map<std::string, StandInLibrary*> gLibraries;
int gLoadAttempts = 0;
int gExportLookups = 0;
std::vector<std::string> gShownErrors;
bool gHostWindow = false;
std::map<uint32_t, std::string> gProcessImages;
uint32_t gLastProcessAccess = 0;
size_t gReadableBytes = 4096;
std::vector<std::string> gHandOffCalls;
uint32_t gHandOffWriteError = 0;
uint32_t gSenderStartError = 0;
std::deque<StandInSender> gSenders;
std::function<void()> gDuringSenderStart;

struct UiJob {
    void (*fn)(void*);
    void* arg;
    bool done = false;
};
std::mutex gUiMutex;
std::condition_variable gUiChanged;
std::deque<UiJob*> gUiJobs;
std::atomic<bool> gHaveUiThread{false};
std::thread::id gUiThread;
}  // namespace

uint32_t TickNow() {
    return gTick.load(std::memory_order_relaxed);
}
void SetTick(uint32_t now) {
    gTick.store(now, std::memory_order_relaxed);
}
void AdvanceTick(uint32_t ms) {
    gTick.fetch_add(ms, std::memory_order_relaxed);
}

intptr_t SendToWindow(WindowRef window, unsigned message, uintptr_t wParam, intptr_t lParam) {
    auto* c = static_cast<StandInControl*>(window);
    if (!c) return 0;
    const char* text = reinterpret_cast<const char*>(lParam);
    if (c->record) {
        RecordedMessage r{message, wParam, lParam, {}};
        if ((message == kEmReplaceSel || message == kWmSetText) && text) r.text = text;
        c->log.push_back(std::move(r));
    }
    if ((message == kEmReplaceSel || message == kWmSetText) && !c->redraw) c->unseenChange = true;
    switch (message) {
        case kWmSetRedraw:
            c->redraw = wParam != 0;
            return 0;
        case kWmGetTextLength:
            return static_cast<intptr_t>(c->text.size());
        case kEmSetSel:
            c->selStart = std::min<size_t>(wParam, c->text.size());
            c->selEnd = std::min<size_t>(static_cast<size_t>(lParam), c->text.size());
            if (c->selEnd < c->selStart) std::swap(c->selStart, c->selEnd);
            return 0;
        case kEmReplaceSel: {
            std::string insert = text ? text : "";
            c->text.replace(c->selStart, c->selEnd - c->selStart, insert);
            c->selStart = c->selEnd = c->selStart + insert.size();
            return 0;
        }
        case kWmSetText:
            c->text = text ? text : "";
            c->selStart = c->selEnd = 0;
            return 1;
        case kEmSetCharFormat:
            if (c->setCharFormatAnswer) std::memcpy(&c->format, text, sizeof(CharFormat));
            return c->setCharFormatAnswer;
        case kEmGetCharFormat:
            std::memcpy(reinterpret_cast<void*>(lParam), &c->format, sizeof(CharFormat));
            return 0;
        default:
            return 0;
    }
}

void RepaintNow(WindowRef window) {
    auto* c = static_cast<StandInControl*>(window);
    if (c && c->redraw) ++c->paints;
    if (c && c->record) c->log.push_back({kRecordedRepaint, 0, 0, {}});
}
void InvalidateWhole(WindowRef window) {
    auto* c = static_cast<StandInControl*>(window);
    if (c && c->redraw) c->unseenChange = false;
    if (c && c->record) c->log.push_back({kRecordedInvalidate, 0, 0, {}});
}

void SetCaption(WindowRef window, const char* text) {
    if (auto* c = static_cast<StandInControl*>(window)) c->caption = text;
}

void ShowError(WindowRef, const char* text) {
    gShownErrors.emplace_back(text);
}
std::vector<std::string>& ShownErrors() {
    return gShownErrors;
}

LibraryRef LoadLibraryAt(const char* path) {
    ++gLoadAttempts;
    auto it = gLibraries.find(path);
    return it == gLibraries.end() ? nullptr : it->second;
}

void* FindExport(LibraryRef library, const char* name) {
    ++gExportLookups;
    auto* lib = static_cast<StandInLibrary*>(library);
    auto it = lib->exports.find(name);
    return it == lib->exports.end() ? nullptr : it->second;
}

void PlaceLibrary(const std::string& path, StandInLibrary* library) {
    if (library) {
        gLibraries[path] = library;
    } else {
        gLibraries.erase(path);
    }
}
int LoadAttempts() {
    return gLoadAttempts;
}
int ExportLookups() {
    return gExportLookups;
}

bool HostWindowExists() {
    return gHostWindow;
}
void SetHostWindow(bool present) {
    gHostWindow = present;
}

bool ProcessImageName(uint32_t processId, uint32_t access, char* name, size_t size) {
    gLastProcessAccess = access;
    auto it = gProcessImages.find(processId);
    if (it == gProcessImages.end() || size == 0) return false;
    const size_t n = std::min(it->second.size(), size - 1);
    std::memcpy(name, it->second.data(), n);
    name[n] = '\0';
    return true;
}
void SetProcessImage(uint32_t processId, const char* deviceName) {
    auto it = gProcessImages.find(processId);
    if (it != gProcessImages.end() && it->second == deviceName) return;  // no allocation then
    gProcessImages[processId] = deviceName;
}
uint32_t LastProcessAccess() {
    return gLastProcessAccess;
}

size_t ReadableBytesAt(const void*) {
    return gReadableBytes;
}
void SetReadableBytes(size_t bytes) {
    gReadableBytes = bytes;
}

uint32_t WriteHandOffFile(const std::string& text, std::string*) {
    gHandOffCalls.push_back("write:" + text);
    return gHandOffWriteError;
}
uint32_t DeleteHandOffFile() {
    gHandOffCalls.push_back("delete");
    return 0;
}
ProcessRef StartCommandSender(uint32_t* error) {
    gHandOffCalls.push_back("start");
    if (auto hook = std::exchange(gDuringSenderStart, nullptr)) hook();
    *error = gSenderStartError;
    if (gSenderStartError) return nullptr;
    gSenders.emplace_back();
    return &gSenders.back();
}
bool ProcessEnded(ProcessRef process) {
    return static_cast<StandInSender*>(process)->ended;
}
void ReleaseProcess(ProcessRef) {
    gHandOffCalls.push_back("release");
}
std::vector<std::string>& HandOffCalls() {
    return gHandOffCalls;
}
void SetHandOffWriteError(uint32_t error) {
    gHandOffWriteError = error;
}
void SetSenderStartError(uint32_t error) {
    gSenderStartError = error;
}
std::deque<StandInSender>& StartedSenders() {
    return gSenders;
}
void DuringNextSenderStart(std::function<void()> hook) {
    gDuringSenderStart = std::move(hook);
}

void ResetStandIns() {
    gHandOffCalls.clear();
    gHandOffWriteError = gSenderStartError = 0;
    gSenders.clear();
    gDuringSenderStart = nullptr;
    gHostWindow = false;
    gProcessImages.clear();
    gLastProcessAccess = 0;
    gReadableBytes = 4096;
    gLibraries.clear();
    gLoadAttempts = gExportLookups = 0;
    gShownErrors.clear();
    gTick = 0;
}

// Invalid UTF-8 becomes U+FFFD per offending byte, as the Windows call does with flags 0.
std::u16string WidenUtf8(const char* text) {
    std::u16string out;
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    size_t n = std::strlen(text);
    for (size_t i = 0; i < n;) {
        unsigned char b = s[i];
        uint32_t cp;
        size_t len;
        if (b < 0x80) {
            cp = b, len = 1;
        } else if (b >= 0xC2 && b <= 0xDF) {
            cp = b & 0x1F, len = 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            cp = b & 0x0F, len = 3;
        } else if (b >= 0xF0 && b <= 0xF4) {
            cp = b & 0x07, len = 4;
        } else {
            out.push_back(0xFFFD), ++i;
            continue;
        }
        bool ok = i + len <= n;
        for (size_t k = 1; ok && k < len; ++k) {
            if ((s[i + k] & 0xC0) != 0x80)
                ok = false;
            else
                cp = (cp << 6) | (s[i + k] & 0x3F);
        }
        if (ok && ((len == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
                   (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)))) {
            ok = false;
        }
        if (!ok) {
            out.push_back(0xFFFD), ++i;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += len;
    }
    return out;
}

// The served systems' OEM code page is 932; what it cannot hold becomes '?', its default.
std::string NarrowToOem(const std::u16string& text) {
    thread_local iconv_t cd = iconv_open("CP932", "UTF-16LE");
    std::string out;
    if (cd == reinterpret_cast<iconv_t>(-1)) return out;
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t unit[2] = {text[i], 0};
        size_t units = 1;
        if (unit[0] >= 0xD800 && unit[0] <= 0xDBFF && i + 1 < text.size()) unit[1] = text[++i], units = 2;
        char in[4];
        for (size_t k = 0; k < units; ++k)
            in[2 * k] = char(unit[k] & 0xFF), in[2 * k + 1] = char(unit[k] >> 8);
        char buf[8];
        char* inp = in;
        char* outp = buf;
        size_t inLeft = 2 * units, outLeft = sizeof buf;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &inp, &inLeft, &outp, &outLeft) == static_cast<size_t>(-1) || outp == buf) {
            out.push_back('?');
        } else {
            out.append(buf, outp);
        }
    }
    return out;
}

void RunOnUiThread(void (*fn)(void*), void* arg) {
    if (!gHaveUiThread.load() || std::this_thread::get_id() == gUiThread) {
        fn(arg);
        return;
    }
    UiJob job{fn, arg};
    std::unique_lock<std::mutex> lock(gUiMutex);
    gUiJobs.push_back(&job);
    gUiChanged.notify_all();
    gUiChanged.wait(lock, [&] { return job.done; });
}

void BecomeUiThread() {
    std::lock_guard<std::mutex> lock(gUiMutex);
    gUiThread = std::this_thread::get_id();
    gHaveUiThread = true;
}

bool WaitForUiJob() {
    std::unique_lock<std::mutex> lock(gUiMutex);
    return gUiChanged.wait_for(lock, std::chrono::seconds(10), [] { return !gUiJobs.empty(); });
}

void PumpUiThread() {
    std::unique_lock<std::mutex> lock(gUiMutex);
    while (!gUiJobs.empty()) {
        UiJob* job = gUiJobs.front();
        gUiJobs.pop_front();
        lock.unlock();
        job->fn(job->arg);
        lock.lock();
        job->done = true;
        gUiChanged.notify_all();
    }
}

void LeaveUiThread() {
    PumpUiThread();
    gHaveUiThread = false;
}
