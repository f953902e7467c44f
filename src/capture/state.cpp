// src/capture/state.cpp
#include "capture/state.h"

#include <cstring>

#include "texts.h"

CaptureState& Capture() {
    static CaptureState& state = *new CaptureState;
    return state;
}

void ResetCaptureState() {
    CaptureState& s = Capture();
    MonitorState& m = s.monitor;
    m.lastProcessId = 0xFFFFFFFF;
    m.headerNeeded = 1;
    m.restartSeen = 0;
    m.pendingText.clear();
    m.lineComplete = 0;
    m.receiving = 1;
    m.errorCount = 0;
    std::memset(m.displayBuffer, 0, sizeof m.displayBuffer);
    std::memset(m.fatalText, 0, sizeof m.fatalText);
    m.stopButton = nullptr;
    const uint32_t now = TickNow();
    s.flood.lastMessageTime = s.flood.burstStartTime = s.flood.lastNoticeTime = now;
    s.flood.repeatCounters.clear();
    s.flood.keyBytes = 0;
    s.forward = ForwardState{};
}

void ToggleReception() {
    MonitorState& m = Monitor();
    if (m.receiving.load()) {
        m.receiving = 0;
        SetCaption(m.stopButton.load(), kCaptionResume);
    } else {
        m.errorCount = 0;
        m.receiving = 1;
        SetCaption(m.stopButton.load(), kCaptionStop);
    }
}
