// tests/support/native.cpp
// Native stand-ins for the platform layer (see native.h): the tick, libraries, the host
// test's desktop and readable memory, and the one reset of them all. The stand-in control
// and the UI thread are in native_window.cpp, the hand-off in native_handoff.cpp, the
// conversions in native_convert.cpp.
#include "support/native.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <functional>

#include "support/native_state.h"

namespace {
std::atomic<uint32_t> gTick{0};
std::atomic<int64_t> gLocalClock{0};
}  // namespace

StandInState& StandIns() {
    static StandInState state;
    return state;
}

uint32_t TickNow() {
    return gTick.load(std::memory_order_relaxed);
}
void SetTick(uint32_t now) {
    gTick.store(now, std::memory_order_relaxed);
}
void AdvanceTick(uint32_t ms) {
    gTick.fetch_add(ms, std::memory_order_relaxed);
}
int64_t LocalClockMs() {
    return gLocalClock.load(std::memory_order_relaxed);
}
void SetLocalClock(int64_t ms) {
    gLocalClock.store(ms, std::memory_order_relaxed);
}

LibraryRef LoadLibraryAt(const char* path, uint32_t* error) {
    StandInState& s = StandIns();
    ++s.loadAttempts;
    auto it = s.libraries.find(path);
    const uint32_t failure = it == s.libraries.end() ? 126 : it->second->loadError;  // 126: ERROR_MOD_NOT_FOUND
    if (failure && error) *error = failure;
    return failure ? nullptr : it->second;
}

FileHead ReadFileHead(const char* path, size_t most) {
    auto it = StandIns().libraries.find(path);
    if (it == StandIns().libraries.end()) return {};
    const std::string& bytes = it->second->bytes;
    return {true, bytes.size(), bytes.substr(0, most), std::hash<std::string>{}(bytes)};  // "written" when they were
}

std::string SystemErrorText(uint32_t error) {
    return "%1: reason " + std::to_string(error) + ".\r\n";
}

void* FindExport(LibraryRef library, const char* name) {
    ++StandIns().exportLookups;
    auto* lib = static_cast<StandInLibrary*>(library);
    auto it = lib->exports.find(name);
    return it == lib->exports.end() ? nullptr : it->second;
}

void PlaceLibrary(const std::string& path, StandInLibrary* library) {
    if (library) {
        StandIns().libraries[path] = library;
    } else {
        StandIns().libraries.erase(path);
    }
}
int LoadAttempts() {
    return StandIns().loadAttempts;
}
int ExportLookups() {
    return StandIns().exportLookups;
}

bool HostWindowExists() {
    return StandIns().hostWindow;
}
void SetHostWindow(bool present) {
    StandIns().hostWindow = present;
}

bool ProcessImageName(uint32_t processId, uint32_t access, char* name, size_t size) {
    StandInState& s = StandIns();
    s.lastProcessAccess = access;
    auto it = s.processImages.find(processId);
    if (it == s.processImages.end() || size == 0) return false;
    const size_t n = std::min(it->second.size(), size - 1);
    std::memcpy(name, it->second.data(), n);
    name[n] = '\0';
    return true;
}
void SetProcessImage(uint32_t processId, const char* deviceName) {
    std::map<uint32_t, std::string>& images = StandIns().processImages;
    auto it = images.find(processId);
    if (it != images.end() && it->second == deviceName) return;  // no allocation then
    images[processId] = deviceName;
}
uint32_t LastProcessAccess() {
    return StandIns().lastProcessAccess;
}

size_t ReadableBytesAt(const void*) {
    return StandIns().readableBytes;
}
void SetReadableBytes(size_t bytes) {
    StandIns().readableBytes = bytes;
}

void ResetStandIns() {
    StandInState& s = StandIns();
    s.handOffCalls.clear();
    s.handOffWriteError = s.senderStartError = 0;
    s.senders.clear();
    s.duringSenderStart = nullptr;
    s.hostWindow = false;
    s.processImages.clear();
    s.lastProcessAccess = 0;
    s.readableBytes = 4096;
    s.libraries.clear();
    s.loadAttempts = s.exportLookups = 0;
    s.shownErrors.clear();
    gTick = 0;
    gLocalClock = 0;
}
