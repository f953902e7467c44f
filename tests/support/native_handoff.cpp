// tests/support/native_handoff.cpp
// Stand-ins for the hand-off file and the command sender: every call recorded in order.
#include <utility>

#include "support/native.h"
#include "support/native_state.h"

uint32_t WriteHandOffFile(const std::string& text, std::string*) {
    StandIns().handOffCalls.push_back("write:" + text);
    return StandIns().handOffWriteError;
}
uint32_t DeleteHandOffFile() {
    StandIns().handOffCalls.push_back("delete");
    return 0;
}
ProcessRef StartCommandSender(uint32_t* error) {
    StandInState& s = StandIns();
    s.handOffCalls.push_back("start");
    if (auto hook = std::exchange(s.duringSenderStart, nullptr)) hook();
    *error = s.senderStartError;
    if (s.senderStartError) return nullptr;
    s.senders.emplace_back();
    return &s.senders.back();
}
bool ProcessEnded(ProcessRef process) {
    return static_cast<StandInSender*>(process)->ended;
}
void ReleaseProcess(ProcessRef) {
    StandIns().handOffCalls.push_back("release");
}
std::vector<std::string>& HandOffCalls() {
    return StandIns().handOffCalls;
}
void SetHandOffWriteError(uint32_t error) {
    StandIns().handOffWriteError = error;
}
void SetSenderStartError(uint32_t error) {
    StandIns().senderStartError = error;
}
std::deque<StandInSender>& StartedSenders() {
    return StandIns().senders;
}
void DuringNextSenderStart(std::function<void()> hook) {
    StandIns().duringSenderStart = std::move(hook);
}
