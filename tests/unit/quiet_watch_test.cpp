// tests/unit/quiet_watch_test.cpp
// The quiet channel's watch on a clock the test sets: a buffer taken and never signalled
// is made ready again no sooner than 4 s after the take (a stalled live writer keeps its
// message) and soon enough for a writer queued behind it, who gives up after 10 s.
#include <gtest/gtest.h>

#include "capture/quiet_watch.h"

TEST(QuietWatch, ATakenBufferIsGivenBackNoSoonerThan4sAfterTheTakeAndWithinAWritersPatience) {
    // Taken this long after the last message was served; each wait may end a tick early.
    for (uint32_t takenAfter : {1u, 3999u, 4000u, 4001u, 7999u, 8000u}) {
        for (uint32_t early : {0u, 16u}) {
            QuietWatch watch;
            const uint32_t served = 0xFFFFF000u;  // the tick wraps meanwhile
            QuietWatchServed(watch);
            uint32_t now = served, givenBack = 0;
            while (!givenBack && now - served < 60000) {
                const uint32_t wait = QuietWatchWaitMs(watch, now);
                now += wait > early ? wait - early : wait;
                if (QuietWatchLook(watch, now - served < takenAfter, now)) givenBack = now - served;
            }
            SCOPED_TRACE(testing::Message() << "taken after " << takenAfter << " ms, waits " << early << " ms early");
            ASSERT_NE(givenBack, 0u);
            EXPECT_GE(givenBack - takenAfter, 4000u);
            EXPECT_LT(givenBack - takenAfter, 10000u);
        }
    }
    // A buffer nobody takes is only looked at, never given back.
    QuietWatch watch;
    for (uint32_t now = 0; now < 60000; now += QuietWatchWaitMs(watch, now))
        EXPECT_FALSE(QuietWatchLook(watch, true, now));
}
