// tests/unit/fixture.h
// A monitor with a fresh state, a stand-in log view and stop/resume button, a tick the
// test moves, and an optional recording shared-message library.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "stand_in_monitor.h"

// The tests' shorthand for an editor's line as the pipeline writes one, and the history
// compared by its texts.
inline void WriteText(const char* text) {
    WriteEntry({text});
}
inline void HistoryAppend(const char* text) {
    HistoryAppend(Entry{text});
}
inline bool operator==(const Entry& entry, const std::string& text) {
    return entry.text == text;
}
inline bool operator==(const std::vector<Entry>& entries, const std::vector<std::string>& texts) {
    return std::equal(entries.begin(), entries.end(), texts.begin(), texts.end());
}

inline std::vector<std::string>& Forwarded() {
    static std::vector<std::string> texts;
    return texts;
}
inline void RecordForwarded(const char* text) {
    Forwarded().emplace_back(text);
}

struct MonitorTest : ::testing::Test {
    static constexpr uint32_t kStart = kStandInStart;
    static constexpr uint32_t kHostPid = 4242;
    StandInControl view;
    StandInControl button;
    StandInLibrary library;

    void SetUp() override {
        ResetStandInMonitor(view, button);
        Forwarded().clear();
        library.exports["SetSharedMessage"] = reinterpret_cast<void*>(&RecordForwarded);
    }
    void PlaceSharedLibrary() { PlaceLibrary(kSharedLibraryPath, &library); }

    void Receive(const char* text, bool fromHost = true, uint32_t pid = kHostPid) { ReceiveFrom(pid, text, fromHost); }
    void At(uint32_t msSinceStart) { SetTick(kStart + msSinceStart); }
};
