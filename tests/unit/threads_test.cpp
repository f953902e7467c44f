// tests/unit/threads_test.cpp
// The monitor thread appends and trims while the UI thread re-renders and changes the
// filter. All history and view work is handed to the UI thread, so ThreadSanitizer sees
// no race and the view always equals what a re-render of the history would give.
#include <atomic>
#include <thread>

#include "fixture.h"

using Threads = MonitorTest;

TEST_F(Threads, MonitorThreadWritesWhileUiThreadFiltersAndReRenders) {
    view.record = false;
    BecomeUiThread();
    std::atomic<bool> done{false};
    std::thread monitor([&] {
        for (int i = 0; i < 2000; ++i) {
            At(static_cast<uint32_t>(i) * 900);  // every message its own burst: all shown
            const std::string line = (i % 2 ? "odd " : "even ") + std::to_string(i) + "\n";
            ProcessMessage({kHostPid, line.c_str(), true});
        }
        done = true;
    });
    const char* filters[] = {"", "odd", "EVEN", "(", "1$"};
    for (int round = 0; !done; ++round) {
        PumpUiThread();
        SetFilterText(filters[round % 5]);
        ReRender();
    }
    monitor.join();
    LeaveUiThread();

    EXPECT_LE(History().size(), 800u);
    EXPECT_EQ(History().back(), "odd 1999\n");
    SetFilterText("odd");
    std::string expected;
    for (const std::string& e : History()) {
        if (e.find("odd") != std::string::npos) expected += e;
    }
    ReRender();
    EXPECT_EQ(view.text, expected);
}
