// tests/unit/command_test.cpp
// The command line's hand-off: file first, then one sender at a time, in order; failures
// keep the command and never start a sender on a stale file.
#include <cstdio>

#include "fixture.h"
#include "ui/command_handoff.h"

namespace {
std::string Formatted(const char* format, const char* path, unsigned error) {
    char text[512];
    std::snprintf(text, sizeof text, format, path, error);
    return text;
}
}  // namespace

struct Commands : MonitorTest {
    void SetUp() override {
        MonitorTest::SetUp();
        ResetCommandHandOff();
    }
    void TearDown() override { ResetCommandHandOff(); }
    static std::vector<std::string> Calls() { return HandOffCalls(); }
};

TEST_F(Commands, OneSenderRunsAtATimeAndWaitingCommandsFollowInOrder) {
    EXPECT_EQ(SubmitCommand("first").kind, CommandOutcome::Accepted);
    EXPECT_EQ(Calls(), (std::vector<std::string>{"write:first", "start"}));
    EXPECT_EQ(SubmitCommand("second").kind, CommandOutcome::Accepted);
    EXPECT_EQ(SubmitCommand("third").kind, CommandOutcome::Accepted);
    PollCommandSender();
    EXPECT_EQ(Calls().size(), 2u);  // the first sender may still be reading the file
    StartedSenders()[0].ended = true;
    PollCommandSender();
    EXPECT_EQ(Calls(), (std::vector<std::string>{"write:first", "start", "release", "write:second", "start"}));
    // A sender that never ends is waited for 10 s, not longer.
    AdvanceTick(9999);
    PollCommandSender();
    EXPECT_EQ(Calls().size(), 5u);
    AdvanceTick(1);
    PollCommandSender();
    EXPECT_EQ(Calls().back(), "start");
    EXPECT_EQ(Calls()[6], "write:third");
    StartedSenders()[2].ended = true;
    PollCommandSender();
    EXPECT_FALSE(CommandHandOffBusy());
}

// Whatever lets the window's messages run while a sender starts (a slow start) may bring
// a second Enter and the queue's timer into the middle of the first hand-off.
TEST_F(Commands, ASecondEnterWhileTheFirstIsStillStartingWaitsItsTurn) {
    CommandOutcome during;
    DuringNextSenderStart([&] {
        during = SubmitCommand("second");
        PollCommandSender();
    });
    EXPECT_EQ(SubmitCommand("first").kind, CommandOutcome::Accepted);
    EXPECT_EQ(during.kind, CommandOutcome::Accepted);
    EXPECT_EQ(Calls(), (std::vector<std::string>{"write:first", "start"}));
    StartedSenders()[0].ended = true;
    PollCommandSender();
    EXPECT_EQ(Calls(), (std::vector<std::string>{"write:first", "start", "release", "write:second", "start"}));
}

TEST_F(Commands, AFailedWriteStartsNoSenderAndEveryFailureKeepsTheCommand) {
    SetHandOffWriteError(5);
    CommandOutcome outcome = SubmitCommand("run me");
    EXPECT_EQ(outcome.kind, CommandOutcome::Failed);
    EXPECT_EQ(outcome.message, Formatted(kCommandWriteFailed, kHandOffFile, 5));
    EXPECT_EQ(outcome.command, "run me");
    EXPECT_EQ(Calls(), std::vector<std::string>{"write:run me"});  // the old file is never run again

    SetHandOffWriteError(0);
    SetSenderStartError(2);
    outcome = SubmitCommand("run me");
    EXPECT_EQ(outcome.message, Formatted(kCommandStartFailed, kCommandSenderPath, 2));
    EXPECT_EQ(outcome.command, "run me");
    EXPECT_FALSE(CommandHandOffBusy());
    EXPECT_EQ(RecallCommand(true), "");  // a command not handed off is not in the history

    // A waiting command whose turn fails comes back the same way.
    SetSenderStartError(0);
    SubmitCommand("sent");
    SubmitCommand("waiting");
    SetHandOffWriteError(32);
    StartedSenders().back().ended = true;
    outcome = PollCommandSender();
    EXPECT_EQ(outcome.kind, CommandOutcome::Failed);
    EXPECT_EQ(outcome.command, "waiting");
    EXPECT_FALSE(CommandHandOffBusy());
}

TEST_F(Commands, ACommandLongerThanTheSenderReadsIsRefusedWholeNotSentCut) {
    const std::string longest(4095, 'a'), tooLong = longest + "b";
    const CommandOutcome refused = SubmitCommand(tooLong);
    EXPECT_EQ(refused.kind, CommandOutcome::Failed);
    EXPECT_EQ(refused.command, tooLong);
    char message[256];
    std::snprintf(message, sizeof message, kCommandTooLong, 4096u, 4095u);
    EXPECT_EQ(refused.message, message);
    EXPECT_TRUE(Calls().empty());
    EXPECT_EQ(SubmitCommand(longest).kind, CommandOutcome::Accepted);
    EXPECT_EQ(Calls(), (std::vector<std::string>{"write:" + longest, "start"}));
}

TEST_F(Commands, AOneByteTextIsNoCommandAndAnEmptyOneDeletesTheFileOnlyWhenNoSenderReadsIt) {
    EXPECT_EQ(SubmitCommand("x").kind, CommandOutcome::Ignored);
    EXPECT_TRUE(Calls().empty());
    EXPECT_EQ(SubmitCommand("").kind, CommandOutcome::Ignored);
    EXPECT_EQ(Calls(), std::vector<std::string>{"delete"});
    SubmitCommand("xy");
    SubmitCommand("");
    EXPECT_EQ(Calls(), (std::vector<std::string>{"delete", "write:xy", "start"}));
}

TEST_F(Commands, UpAndDownWalkTheLastHundredCommands) {
    for (int i = 1; i <= 101; ++i) {
        SubmitCommand("c" + std::to_string(i));
        StartedSenders().back().ended = true;
        PollCommandSender();
    }
    EXPECT_EQ(RecallCommand(true), "c101");
    EXPECT_EQ(RecallCommand(true), "c100");
    EXPECT_EQ(RecallCommand(false), "c101");
    EXPECT_EQ(RecallCommand(false), "");  // past the newest: an empty line
    for (int i = 0; i < 150; ++i)
        RecallCommand(true);
    EXPECT_EQ(RecallCommand(true), "c2");  // c1 was the 101st back
}
