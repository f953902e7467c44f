// src/capture/state.h
// Everything the capture side keeps between messages, in one place so that tests (and
// start-up) can reset it with one call.
#pragma once
#include <atomic>
#include <cstdint>
#include <map>
#include <string>

#include "platform/platform.h"

// One received message, valid until it is acknowledged.
struct CapturedMessage {
    uint32_t processId;
    const char* text;  // NUL-terminated, in the writer's encoding
    bool fromHost;
};

struct MonitorState {
    uint32_t lastProcessId = 0xFFFFFFFF;
    int headerNeeded = 1;
    int restartSeen = 0;
    std::string pendingText;
    int lineComplete = 0;
    // Shared with the main thread (stop/resume button): whole 32-bit values.
    std::atomic<int32_t> receiving{1};
    std::atomic<int32_t> errorCount{0};
    char displayBuffer[512] = {};
    char fatalText[256] = {};
    std::atomic<WindowRef> stopButton{nullptr};
};

struct FloodState {
    uint32_t lastMessageTime = 0;
    uint32_t burstStartTime = 0;
    uint32_t lastNoticeTime = 0;
    // Keyed by the whole working text; std::string orders by unsigned bytes. Bounded
    // (see flood.h); keyBytes is the sum of its keys' lengths.
    std::map<std::string, int32_t> repeatCounters;
    size_t keyBytes = 0;
};

struct ForwardState {
    LibraryRef library = nullptr;  // kept once a load succeeds
    void* exportAddress = nullptr;
    // The failure to load it last told in the view (library_note.h), and the file last
    // looked into, so that the same file failing alike is not read again on every message.
    bool failureTold = false;
    uint32_t toldError = 0;
    int toldFault = 0;
    uint64_t seenSize = 0, seenWritten = 0;
};

struct CaptureState {
    MonitorState monitor;
    FloodState flood;
    ForwardState forward;
};

// The process-wide capture state. It is never destroyed: the monitor thread may still
// be running while the process's exit handlers run.
CaptureState& Capture();
inline MonitorState& Monitor() {
    return Capture().monitor;
}

// Back to the state at program start; the three flood times become the current tick.
void ResetCaptureState();

// Stops reception when it is on, resumes it (error count back to 0) when it is off, and
// captions the stop/resume button with the next click's action.
void ToggleReception();
