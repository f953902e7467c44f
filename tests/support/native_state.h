// tests/support/native_state.h
// The stand-ins' process-wide state, shared by the native platform files. ResetStandIns
// (native.cpp) puts all of it back; the UI thread's hand-over keeps its own.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "support/native.h"

struct StandInState {
    std::map<std::string, StandInLibrary*> libraries;
    int loadAttempts = 0;
    int exportLookups = 0;
    std::vector<std::string> shownErrors;
    bool hostWindow = false;
    std::map<uint32_t, std::string> processImages;
    uint32_t lastProcessAccess = 0;
    size_t readableBytes = 4096;
    std::vector<std::string> handOffCalls;
    uint32_t handOffWriteError = 0;
    uint32_t senderStartError = 0;
    std::deque<StandInSender> senders;
    std::function<void()> duringSenderStart;
};
StandInState& StandIns();
