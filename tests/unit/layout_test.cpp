// tests/unit/layout_test.cpp
// The window's places: the design's figures at 96 DPI, the same scaled at other DPIs.
#include <gtest/gtest.h>

#include <tuple>

#include "ui/layout.h"

namespace {
auto Tie(const Box& b) {
    return std::make_tuple(b.x, b.y, b.width, b.height);
}
using Places = std::tuple<int, int, int, int>;
}  // namespace

TEST(Layout, At96DpiTheDesignsFiguresWithAndWithoutTheCommandLine) {
    const WindowLayout l = LayOutWindow(484, 421, 96, false);
    EXPECT_EQ(Tie(l.stopButton), Places(5, 10, 80, 21));
    EXPECT_EQ(Tie(l.clearButton), Places(95, 10, 50, 21));
    EXPECT_EQ(Tie(l.filterBox), Places(329, 10, 150, 22));
    EXPECT_EQ(Tie(l.logView), Places(5, 40, 474, 376));
    EXPECT_EQ(std::make_tuple(l.filterLabel.x, l.filterLabel.y, l.fontHeight), std::make_tuple(199, 13, 14));
    const WindowLayout c = LayOutWindow(484, 421, 96, true);
    EXPECT_EQ(Tie(c.commandLine), Places(80, 394, 399, 22));
    EXPECT_EQ(Tie(c.logView), Places(5, 40, 474, 349));
    EXPECT_EQ(std::make_tuple(c.commandLabel.x, c.commandLabel.y), std::make_tuple(5, 397));
    const WindowLayout tiny = LayOutWindow(8, 30, 96, true);
    EXPECT_EQ(Tie(tiny.logView), Places(5, 40, 0, 0));
    EXPECT_EQ(Tie(tiny.commandLine), Places(80, 3, 0, 22));
}

TEST(Layout, AtOtherDpisEveryLengthScalesAndRoundsAsMulDiv) {
    const WindowLayout l = LayOutWindow(726, 632, 144, true);  // 150 %: halves round up
    EXPECT_EQ(Tie(l.stopButton), Places(8, 15, 120, 32));
    EXPECT_EQ(Tie(l.clearButton), Places(143, 15, 75, 32));
    EXPECT_EQ(Tie(l.filterBox), Places(493, 15, 225, 33));
    EXPECT_EQ(Tie(l.commandLine), Places(121, 591, 597, 33));
    EXPECT_EQ(Tie(l.logView), Places(8, 60, 710, 523));
    EXPECT_EQ(std::make_tuple(l.filterLabel.x, l.filterLabel.y, l.fontHeight), std::make_tuple(298, 20, 21));
    const WindowLayout d = LayOutWindow(968, 842, 192, false);  // 200 %: exactly twice
    EXPECT_EQ(Tie(d.filterBox), Places(658, 20, 300, 44));
    EXPECT_EQ(Tie(d.logView), Places(10, 80, 948, 752));
    EXPECT_EQ(ScaledLength(-5, 144), -8);
}
