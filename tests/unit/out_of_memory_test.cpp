// tests/unit/out_of_memory_test.cpp
// Replaces the global allocator, so it is left out of the ThreadSanitizer build, whose
// runtime owns operator new.
#include <atomic>
#include <cstdlib>
#include <new>
#include <thread>

#include "fixture.h"

using OutOfMemory = MonitorTest;

namespace {
// While set, every allocation fails: the monitor must drop the message in hand and go on.
std::atomic<bool> gFailAllocations{false};
// While set, every allocation on that thread fails.
std::atomic<std::thread::id> gFailOnThread{};
}  // namespace

// GCC cannot see that these replace the global pair and warns about malloc with delete.
#pragma GCC diagnostic ignored "-Wpragmas"
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(size_t size) {
    if (gFailAllocations.load(std::memory_order_relaxed) || gFailOnThread.load() == std::this_thread::get_id()) {
        throw std::bad_alloc();
    }
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, size_t) noexcept {
    std::free(p);
}

TEST_F(OutOfMemory, RunningOutOfMemoryDropsOnlyTheMessageInHand) {
    Receive("a line long enough to need the heap\n");
    gFailAllocations = true;
    Receive("this one cannot be copied, so it is dropped\n");
    gFailAllocations = false;
    Receive("and the monitor carries on normally\n");
    EXPECT_EQ(History(), (std::vector<std::string>{"a line long enough to need the heap\n",
                                                   "and the monitor carries on normally\n"}));
}

TEST_F(OutOfMemory, RunningOutOfMemoryOnTheUiThreadDropsOnlyTheMessageHandedOver) {
    BecomeUiThread();
    // Each message is handed over only once let: the UI thread's failing allocations must
    // cover the second message exactly.
    std::atomic<int> let{0}, done{0};
    std::thread monitor([&] {
        for (const char* text : {"before\n", "lost on the UI thread\n", "after\n"}) {
            while (let <= done)
                std::this_thread::yield();
            Receive(text);
            ++done;
        }
    });
    auto serve = [&](int n) {
        let = n;
        while (done < n)
            PumpUiThread();
    };
    serve(1);
    gFailOnThread = std::this_thread::get_id();
    serve(2);
    gFailOnThread = std::thread::id{};
    serve(3);
    monitor.join();
    LeaveUiThread();
    EXPECT_EQ(History(), (std::vector<std::string>{"before\n", "after\n"}));
    EXPECT_EQ(view.text, "before\nafter\n");
}
