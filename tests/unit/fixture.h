// tests/unit/fixture.h
// A monitor with a fresh state, a stand-in log view and stop/resume button, a tick the
// test moves, and an optional recording shared-message library.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "capture/pipeline.h"
#include "capture/state.h"
#include "logview/history.h"
#include "platform/native.h"
#include "texts.h"

inline std::vector<std::string>& Forwarded() {
    static std::vector<std::string> texts;
    return texts;
}
inline void RecordForwarded(const char* text) {
    Forwarded().emplace_back(text);
}

struct MonitorTest : ::testing::Test {
    static constexpr uint32_t kStart = 1000000;
    static constexpr uint32_t kHostPid = 4242;
    StandInControl view;
    StandInControl button;
    StandInLibrary library;

    void SetUp() override {
        ResetStandIns();
        SetTick(kStart);
        ResetCaptureState();
        ResetLogViewState();
        SetLogView(&view);
        Monitor().stopButton = &button;
        button.caption = kCaptionStop;
        Forwarded().clear();
        library.exports["SetSharedMessage"] = reinterpret_cast<void*>(&RecordForwarded);
    }
    void PlaceSharedLibrary() { PlaceLibrary(kSharedLibraryPath, &library); }

    // The monitor thread's part around the pipeline: writer change and header bookkeeping.
    void Receive(const char* text, bool fromHost = true, uint32_t pid = kHostPid) {
        MonitorState& m = Monitor();
        if (pid != m.lastProcessId) m.lastProcessId = pid, m.headerNeeded = 1;
        ProcessMessage({pid, text, fromHost});
        const size_t n = std::strlen(text);
        m.headerNeeded = n > 0 && text[n - 1] == '\n';
    }
    void At(uint32_t msSinceStart) { SetTick(kStart + msSinceStart); }
    std::vector<std::string> HistoryNow() const { return History(); }
};
