// tests/unit/threads_test.cpp
// The monitor thread appends and trims while the UI thread re-renders and changes the
// filter. All history and view work is handed to the UI thread, so ThreadSanitizer sees
// no race, and what the run leaves in the view is the history under the last filter.
#include <atomic>
#include <thread>

#include "fixture.h"

using Threads = MonitorTest;

TEST_F(Threads, MonitorThreadWritesWhileUiThreadFiltersAndReRenders) {
    view.record = false;
    BecomeUiThread();
    std::atomic<int> sent{0};
    std::thread monitor([&] {
        for (int i = 0; i < 2000; ++i, ++sent) {
            At(static_cast<uint32_t>(i) * 900);  // every message its own burst: all shown
            const std::string line = (i % 2 ? "odd " : "even ") + std::to_string(i) + "\n";
            ProcessMessage({kHostPid, line.c_str(), true});
        }
    });
    const char* filters[] = {"", "odd", "EVEN", "(", "1$"};
    for (int round = 0; sent < 1990; ++round) {
        SetFilterText(filters[round % 5]);
        ReRender();
        PumpUiThread();
    }
    // The last filter change; the last ten messages arrive after it.
    SetFilterText("EVEN");
    ReRender();
    while (sent < 2000)
        PumpUiThread();
    monitor.join();
    LeaveUiThread();

    EXPECT_LE(History().size(), 800u);
    EXPECT_EQ(History().back(), "odd 1999\n");
    std::string expected;
    for (const Entry& e : History()) {
        if (e.text.rfind("even ", 0) == 0) expected += e.text;
    }
    EXPECT_NE(expected.find("even 1998\n"), std::string::npos);
    EXPECT_EQ(view.text, expected);
}
