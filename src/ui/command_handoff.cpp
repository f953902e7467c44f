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
    // From before the file is written until the sender has started: whatever lets the
    // window's messages run meanwhile (a slow start) must not bring a second hand-off,
    // which would rewrite the file under the first sender.
    bool handingOff = false;
    uint32_t startedAt = 0;
    std::deque<std::string> history;
    size_t recall = 0;  // index into history; history.size() is the empty line past the newest
};
HandOffState& State() {
    static HandOffState state;
    return state;
}

// What failed, as the box shows it; the command is kept for the line.
template <typename... Args>
CommandOutcome Failed(const std::string& command, const char* format, Args... args) {
    char message[1024];
    std::snprintf(message, sizeof message, format, args...);
    return {CommandOutcome::Failed, message, command};
}

// The file is written and closed before the sender starts: a sender started on a
// failed write would read the previous command and run it again.
CommandOutcome HandOffNow(const std::string& text) {
    std::string leadsTo;
    if (const uint32_t error = WriteHandOffFile(text, &leadsTo)) {
        // Refused as not plainly ours, it says where the path really leads: a folder on
        // the way moved to another drive by a junction is refused too.
        if (error == kErrorNotThePlainFile)
            return Failed(text, kCommandNotPlainFile, kHandOffFile, leadsTo.c_str(), error);
        return Failed(text, kCommandWriteFailed, kHandOffFile, error);
    }
    uint32_t error = 0;
    ProcessRef sender = StartCommandSender(&error);
    if (!sender) return Failed(text, kCommandStartFailed, kCommandSenderPath, error);
    State().running = sender;
    State().startedAt = TickNow();
    return {CommandOutcome::Accepted, {}, {}};
}

CommandOutcome HandOff(const std::string& text) {
    State().handingOff = true;
    CommandOutcome outcome = HandOffNow(text);
    State().handingOff = false;
    return outcome;
}

void Remember(const std::string& text) {
    HandOffState& s = State();
    s.history.push_back(text);
    if (s.history.size() > kCommandHistoryMax) s.history.pop_front();
    s.recall = s.history.size();
}
}  // namespace

bool CommandHandOffBusy() {
    return State().handingOff || State().running || !State().waiting.empty();
}

CommandOutcome SubmitCommand(const std::string& text) {
    if (text.empty()) {
        if (!CommandHandOffBusy()) DeleteHandOffFile();
        return {};
    }
    if (text.size() == 1) return {};
    // The sender reads at most this much; a longer text would arrive cut without a word.
    if (text.size() > kCommandTextSize - 1) {
        return Failed(text, kCommandTooLong, static_cast<unsigned>(text.size()),
                      static_cast<unsigned>(kCommandTextSize - 1));
    }
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
    if (s.handingOff) return {};
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
