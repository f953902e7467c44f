// tests/unit/out_of_memory_test.cpp
// Replaces the global allocator, so it is left out of the ThreadSanitizer build, whose
// runtime owns operator new.
#include <atomic>
#include <cstdlib>
#include <new>

#include "fixture.h"

using OutOfMemory = MonitorTest;

namespace {
// While set, every allocation fails: the monitor must drop the message in hand and go on.
std::atomic<bool> gFailAllocations{false};
}  // namespace

// GCC cannot see that these replace the global pair and warns about malloc with delete.
#pragma GCC diagnostic ignored "-Wpragmas"
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(size_t size) {
    if (gFailAllocations.load(std::memory_order_relaxed)) throw std::bad_alloc();
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
