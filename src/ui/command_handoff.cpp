// src/ui/command_handoff.cpp
#include "ui/command_handoff.h"

#include <cstdio>
#include <deque>

#include "platform/platform.h"
#include "texts.h"

namespace {
struct HandOffState {
    std::deque<std::string> waiting;
    ProcessRef running = nullptr;
    uint32_t startedAt = 0;
    std::deque<std::string> history;
    size_t recall = 0;  // index into history; history.size() is the empty line past the newest
};
HandOffState& State() {
    static HandOffState state;
    return state;
}

CommandOutcome Failure(const char* format, const char* path, uint32_t error, const std::string& command) {
    char message[512];
    std::snprintf(message, sizeof message, format, path, static_cast<unsigned>(error));
    return {CommandOutcome::Failed, message, command};
}

// The file is written and closed before the sender starts: a sender started on a
// failed write would read the previous command and run it again.
CommandOutcome HandOff(const std::string& text) {
    if (const uint32_t error = WriteHandOffFile(text)) return Failure(kCommandWriteFailed, kHandOffFile, error, text);
    uint32_t error = 0;
    ProcessRef sender = StartCommandSender(&error);
    if (!sender) return Failure(kCommandStartFailed, kCommandSenderPath, error, text);
    State().running = sender;
    State().startedAt = TickNow();
    return {CommandOutcome::Accepted, {}, {}};
}

void Remember(const std::string& text) {
    HandOffState& s = State();
    s.history.push_back(text);
    if (s.history.size() > kCommandHistoryMax) s.history.pop_front();
    s.recall = s.history.size();
}
}  // namespace

bool CommandHandOffBusy() {
    return State().running || !State().waiting.empty();
}

CommandOutcome SubmitCommand(const std::string& text) {
    if (text.empty()) {
        if (!CommandHandOffBusy()) DeleteHandOffFile();
        return {};
    }
    if (text.size() == 1) return {};
    if (CommandHandOffBusy()) {
        State().waiting.push_back(text);
        Remember(text);
        return {CommandOutcome::Accepted, {}, {}};
    }
    CommandOutcome outcome = HandOff(text);
    if (outcome.kind == CommandOutcome::Accepted) Remember(text);
    return outcome;
}

CommandOutcome PollCommandSender() {
    HandOffState& s = State();
    if (s.running) {
        if (!ProcessEnded(s.running) && static_cast<int32_t>(TickNow() - s.startedAt) < kSenderWaitMs) return {};
        ReleaseProcess(s.running);
        s.running = nullptr;
    }
    if (s.waiting.empty()) return {};
    const std::string next = s.waiting.front();
    s.waiting.pop_front();
    return HandOff(next);
}

std::string RecallCommand(bool older) {
    HandOffState& s = State();
    if (older && s.recall > 0) --s.recall;
    if (!older && s.recall < s.history.size()) ++s.recall;
    return s.recall < s.history.size() ? s.history[s.recall] : std::string();
}

void ResetCommandHandOff() {
    HandOffState& s = State();
    if (s.running) ReleaseProcess(s.running);
    s = HandOffState{};
}
