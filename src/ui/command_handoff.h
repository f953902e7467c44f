// src/ui/command_handoff.h
// The command line's hand-off to the editor's command sender: the text goes to the
// hand-off file, then the sender is started to read it. One sender runs at a time, so
// the file is never rewritten under a sender still reading it; commands entered
// meanwhile wait their turn in order. Built natively too: it only uses the platform layer.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

inline constexpr size_t kCommandTextSize = 4096;  // buffer size: at most 4095 bytes of text
inline constexpr size_t kCommandHistoryMax = 100;
// A sender that has not ended by then is no longer waited for.
inline constexpr int32_t kSenderWaitMs = 10000;

struct CommandOutcome {
    enum Kind { Ignored, Accepted, Failed } kind = Ignored;
    std::string message;  // for Failed: what failed, the path and the error number
    std::string command;  // for Failed: the text that was not handed off
};

// Enter in the command line. Texts of two bytes up to 4095 are handed off at once when no
// sender runs, else queued (both Accepted: the line may be emptied), or Failed with the
// text kept; a longer text is Failed at once. An empty text deletes the hand-off file when no sender is running; a
// one-byte text does nothing.
CommandOutcome SubmitCommand(const std::string& text);

// Called by a timer while CommandHandOffBusy(): once the running sender has ended, or
// had kSenderWaitMs, the next waiting command is handed off. A failure is returned as
// from SubmitCommand; the queue goes on with the next command at the next call.
CommandOutcome PollCommandSender();
bool CommandHandOffBusy();

// The history of accepted commands, newest last: Up (older) and Down (newer) walk it
// as a console does; past the newest is an empty line.
std::string RecallCommand(bool older);

void ResetCommandHandOff();  // tests
