// tests/unit/flood_test.cpp
// Bursts, repeat counters, repeat notices and the error cut-off, on a tick the test moves.
#include <thread>

#include "capture/flood.h"
#include "fixture.h"

using Flood = MonitorTest;

namespace {
// Starts a burst at `start` ms: the gap from program start is over 800 ms.
constexpr uint32_t kBurst = 10000;
}  // namespace

TEST_F(Flood, GapOf800KeepsTheBurstAnd801StartsANewOne) {
    for (uint32_t t = kBurst; t <= kBurst + 3500; t += 500)
        At(t), FloodDecide("a");
    At(kBurst + 4300);  // a gap of exactly 800
    FloodDecide("a");
    EXPECT_EQ(Capture().flood.burstStartTime, kStart + kBurst);
    EXPECT_EQ(Capture().flood.repeatCounters["a"], 2);
    At(kBurst + 5101);  // 801
    FloodDecide("a");
    EXPECT_EQ(Capture().flood.burstStartTime, kStart + kBurst + 5101);
    EXPECT_EQ(Capture().flood.repeatCounters.count("a"), 0u);
}

TEST_F(Flood, CountingStartsAfter3000AndSuppressionAfter8000) {
    At(kBurst), FloodDecide("a");
    for (uint32_t t = kBurst + 500; t <= kBurst + 3000; t += 500)
        At(t), FloodDecide("a");
    EXPECT_EQ(Capture().flood.repeatCounters.count("a"), 0u);  // exactly 3000: not counted
    At(kBurst + 3001), FloodDecide("a");
    EXPECT_EQ(Capture().flood.repeatCounters["a"], 1);
    for (uint32_t t = kBurst + 3500; t <= kBurst + 7500; t += 500)
        At(t), FloodDecide("a");
    At(kBurst + 8000);
    EXPECT_EQ(FloodDecide("a"), Outcome::Show);  // exactly 8000: shown whatever its counter
    At(kBurst + 8001);
    EXPECT_EQ(FloodDecide("a"), Outcome::RepeatNotice);
    At(kBurst + 8500);
    EXPECT_EQ(FloodDecide("b"), Outcome::Show);  // first seen after the eighth second
    At(kBurst + 9000);
    EXPECT_EQ(FloodDecide("b"), Outcome::Drop);
}

TEST_F(Flood, NoticeComesOnlyMoreThan2000AfterTheLastOne) {
    At(kBurst), FloodDecide("a");
    for (uint32_t t = kBurst + 500; t <= kBurst + 8000; t += 500)
        At(t), FloodDecide("a");
    At(kBurst + 8400);
    ASSERT_EQ(FloodDecide("a"), Outcome::RepeatNotice);
    At(kBurst + 8800), FloodDecide("a");
    for (uint32_t t = kBurst + 9200; t <= kBurst + 10000; t += 400) {
        At(t);
        EXPECT_EQ(FloodDecide("a"), Outcome::Drop);
    }
    At(kBurst + 10400);
    EXPECT_EQ(FloodDecide("a"), Outcome::Drop);  // exactly 2000
    At(kBurst + 10401);
    EXPECT_EQ(FloodDecide("a"), Outcome::RepeatNotice);
}

TEST_F(Flood, ABurstSurvivesTheTickWrapping) {
    SetTick(0xFFFFF000u);
    ResetCaptureState();
    SetTick(0xFFFFF000u + 1000);
    FloodDecide("a");
    const uint32_t start = 0xFFFFF000u + 1000;
    for (uint32_t step = 1; step <= 20; ++step) {  // 10 s in 500-ms steps, across 2^32
        SetTick(start + step * 500);
        FloodDecide("a");
    }
    EXPECT_EQ(Capture().flood.burstStartTime, start);
    EXPECT_LT(TickNow(), start);  // the tick did wrap
    EXPECT_GT(Capture().flood.repeatCounters["a"], 10);
}

TEST_F(Flood, OneTextEvery100MsForTwelveSeconds) {
    PlaceSharedLibrary();
    std::string outcomes;
    for (uint32_t t = 0; t <= 12000; t += 100) {
        At(kBurst + t);
        const size_t before = History().size();
        Receive("same\n");
        const size_t added = History().size() - before;
        outcomes += added == 0 ? '.' : added == 1 ? 'S' : 'N';
    }
    // Shown for 8 s (81 receptions), then a notice every 2.1 s, the rest dropped.
    const std::string expected = std::string(81, 'S') + 'N' + std::string(20, '.') + 'N' + std::string(18, '.');
    EXPECT_EQ(outcomes, expected);
    std::vector<std::string> history(81, "same\n");
    for (int i = 0; i < 2; ++i)
        history.insert(history.end(), {kRepeatNotice, "same\n"});
    EXPECT_EQ(History(), history);
    std::vector<std::string> forwarded(81, "same\n");
    for (int i = 0; i < 2; ++i)
        forwarded.insert(forwarded.end(), {kForwardedRepeatNotice, "same\n"});
    EXPECT_EQ(Forwarded(), forwarded);
}

TEST_F(Flood, TwoAlternatingTextsReplayTheCurrentTextTwice) {
    PlaceSharedLibrary();
    for (uint32_t t = 0; t <= 8000; t += 100)
        At(kBurst + t), Receive(t % 200 ? "B\n" : "A\n");
    History();
    const size_t before = History().size();
    Forwarded().clear();
    At(kBurst + 8100);
    Receive("B\n");  // its counter is far above 0: notice
    EXPECT_EQ(std::vector<Entry>(History().begin() + before, History().end()),
              (std::vector<std::string>{kRepeatNotice, "B\n", "B\n"}));
    EXPECT_EQ(History()[before].kind, EntryKind::Note);  // the monitor's own
    EXPECT_EQ(Forwarded(), (std::vector<std::string>{kForwardedRepeatNotice, "B\n", "B\n"}));
}

TEST_F(Flood, WithoutTheLibraryANoticeLowersEachCounterOnce) {
    for (uint32_t t = 0; t <= 8000; t += 100)
        At(kBurst + t), Receive("a\n");  // counted 50 times
    At(kBurst + 8100), Receive("a\n");   // notice: 51, one replay: 50
    EXPECT_EQ(Capture().flood.repeatCounters["a\n"], 50);
    EXPECT_EQ(LoadAttempts(), 82);  // tried again at every forwarding
    PlaceSharedLibrary();
    for (uint32_t t = 8200; t <= 10100; t += 100)
        At(kBurst + t), Receive("a\n");  // 20 drops: 70
    At(kBurst + 10200), Receive("a\n");  // notice: 71, replay 70, forwarding 69
    EXPECT_EQ(Capture().flood.repeatCounters["a\n"], 69);
    EXPECT_EQ(Forwarded(), (std::vector<std::string>{kForwardedRepeatNotice, "a\n"}));
}

TEST_F(Flood, ClearingTheViewLeavesFloodStateAlone) {
    At(kBurst), Receive("x KUMOGATAERR: y\n");
    At(kBurst + 3500), Receive("x KUMOGATAERR: y\n");
    const FloodState before = Capture().flood;
    ClearLog();
    EXPECT_EQ(Capture().flood.repeatCounters, before.repeatCounters);
    EXPECT_EQ(Capture().flood.burstStartTime, before.burstStartTime);
    EXPECT_EQ(Capture().flood.lastMessageTime, before.lastMessageTime);
    EXPECT_EQ(Monitor().errorCount.load(), 2);
}

TEST_F(Flood, EleventhErrorIsShownThenTheCutOffNoticeThenReceptionStops) {
    PlaceSharedLibrary();
    for (int i = 1; i <= 10; ++i)
        Receive(("KUMOGATAERR: e" + std::to_string(i) + "\n").c_str());
    EXPECT_EQ(Monitor().receiving.load(), 1);
    SetLocalClock(86399999);
    Receive("KUMOGATAERR: e11 KUMOGATAERR: twice\n");
    EXPECT_EQ(Monitor().errorCount.load(), 11);
    EXPECT_EQ(History().back().kind, EntryKind::Note);  // the cut-off notice, made with the line it follows
    EXPECT_EQ(History()[History().size() - 2].kind, EntryKind::Error);
    EXPECT_EQ(std::make_pair(History().back().time, History().end()[-2].time),
              std::make_pair(int64_t{86399999}, int64_t{86399999}));
    EXPECT_EQ(History().back(), kCutOffNotice);
    EXPECT_EQ(History()[History().size() - 2], "KUMOGATAERR: e11 KUMOGATAERR: twice\n");
    EXPECT_EQ(Forwarded().back(), "KUMOGATAERR: e11 KUMOGATAERR: twice\n");  // forwarded, the notice not
    EXPECT_EQ(Monitor().receiving.load(), 0);
    EXPECT_EQ(button.caption, kCaptionResume);
    Receive("KUMOGATAERR: ignored\n");
    EXPECT_EQ(History().back(), kCutOffNotice);

    ToggleReception();  // the user resumes: the count starts again
    EXPECT_EQ(Monitor().errorCount.load(), 0);
    EXPECT_EQ(button.caption, kCaptionStop);
    for (int i = 1; i <= 10; ++i)
        Receive(("KUMOGATAERR: again" + std::to_string(i) + "\n").c_str());
    EXPECT_EQ(Monitor().receiving.load(), 1);
    Receive("KUMOGATAERR: again11\n");
    EXPECT_EQ(Monitor().receiving.load(), 0);
}

TEST_F(Flood, OnlyErrorsInTheKeptBytesOfShownMessagesCount) {
    std::string late(500, 'x');
    late += "KUMOGATAERR: \n";  // the prefix straddles byte 511
    Receive(late.c_str());
    EXPECT_EQ(Monitor().errorCount.load(), 0);
    // A dropped error line is not counted.
    for (uint32_t t = 0; t <= 8000; t += 100)
        At(kBurst + t), FloodDecide("KUMOGATAERR: flood\n");
    const int32_t counted = Monitor().errorCount.load();
    At(kBurst + 8100), Receive("KUMOGATAERR: flood\n");  // notice: counted once
    EXPECT_EQ(History().back().kind, EntryKind::Error);  // its replay is an error line
    At(kBurst + 8200), Receive("KUMOGATAERR: flood\n");  // dropped
    EXPECT_EQ(Monitor().errorCount.load(), counted + 1);
}

TEST_F(Flood, UserStoppingReceptionBeforeTheCutOffKeepsItOff) {
    for (int i = 1; i <= 10; ++i)
        Receive("KUMOGATAERR: e\n");
    BecomeUiThread();
    std::thread monitor([&] { Receive("KUMOGATAERR: eleventh\n"); });
    EXPECT_TRUE(WaitForUiJob());
    PumpUiThread();     // the eleventh error line is written
    ToggleReception();  // the user stops reception before the cut-off
    EXPECT_TRUE(WaitForUiJob());
    PumpUiThread();  // the cut-off notice
    monitor.join();
    LeaveUiThread();
    EXPECT_EQ(History().back(), kCutOffNotice);
    EXPECT_EQ(Monitor().receiving.load(), 0);
    EXPECT_EQ(button.caption, kCaptionResume);
}

TEST_F(Flood, ToggleWithoutAButtonStillSwitchesTheFlag) {
    Monitor().stopButton = nullptr;
    Monitor().errorCount = 5;
    ToggleReception();
    EXPECT_EQ(Monitor().receiving.load(), 0);
    EXPECT_EQ(Monitor().errorCount.load(), 5);  // stopping leaves the count
    ToggleReception();
    EXPECT_EQ(Monitor().receiving.load(), 1);
    EXPECT_EQ(Monitor().errorCount.load(), 0);
}

TEST_F(Flood, RepeatCountersStayBoundedInAnEndlessBurstAndStillSuppress) {
    // A changing line every 500 ms, never pausing: each one a new key from the third second.
    uint32_t t = kBurst;
    for (int i = 0; i < 5000; ++i, t += 500) {
        At(t);
        FloodDecide("changing line " + std::to_string(i));
        ASSERT_LE(Capture().flood.repeatCounters.size(), kRepeatCountersMaxEntries);
    }
    At(t);
    EXPECT_EQ(FloodDecide("repeated"), Outcome::Show);
    At(t + 500);
    EXPECT_EQ(FloodDecide("repeated"), Outcome::RepeatNotice);
    At(t + 1000);
    EXPECT_EQ(FloodDecide("repeated"), Outcome::Drop);
}

TEST_F(Flood, ACounterSaturatesInsteadOfOverflowing) {
    for (uint32_t t = kBurst; t <= kBurst + 8400; t += 400)
        At(t), FloodDecide("a");
    Capture().flood.repeatCounters["a"] = INT32_MAX;  // 2^31 - 1 arrivals in this burst
    At(kBurst + 8800);
    EXPECT_EQ(FloodDecide("a"), Outcome::Drop);
    EXPECT_EQ(Capture().flood.repeatCounters["a"], INT32_MAX);
}
