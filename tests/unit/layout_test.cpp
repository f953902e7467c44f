// tests/unit/layout_test.cpp
// The window's figures: the design's lengths at 96 DPI scaled by the window's DPI (halves
// rounded up), the right and bottom edges kept from the client area's.
#include <gtest/gtest.h>

#include <array>

#include "ui/layout.h"

namespace {
struct LayoutCase {
    int dpi, width, height;
    Box stop, clear, filter, commandLine, logView;
    int logViewHeightAboveCommandLine;
    TextSpot filterLabel, commandLabel;
    int fontHeight;
};
// clang-format off
const LayoutCase kCases[] = {
    {96, 484, 421, {5, 10, 80, 21}, {95, 10, 50, 21}, {329, 10, 150, 22}, {80, 394, 399, 22}, {5, 40, 474, 376}, 349,
     {199, 13}, {5, 397}, 14},
    {144, 726, 632, {8, 15, 120, 32}, {143, 15, 75, 32}, {493, 15, 225, 33}, {121, 591, 597, 33}, {8, 60, 710, 564},
     523, {298, 20}, {8, 596}, 21},
    {192, 968, 842, {10, 20, 160, 42}, {190, 20, 100, 42}, {658, 20, 300, 44}, {160, 788, 798, 44},
     {10, 80, 948, 752}, 698, {398, 26}, {10, 794}, 28},
};
// clang-format on
std::array<int, 4> Of(const Box& b) {
    return {b.x, b.y, b.width, b.height};
}
std::array<int, 5> Of(const WindowLayout& l) {
    return {l.filterLabel.x, l.filterLabel.y, l.commandLabel.x, l.commandLabel.y, l.fontHeight};
}
}  // namespace

TEST(Layout, EveryFigureAt96And144And192DpiWithAndWithoutTheCommandLine) {
    for (const LayoutCase& c : kCases) {
        for (const bool shown : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.dpi << (shown ? " with" : " without") << " the command line");
            const WindowLayout l = LayOutWindow(c.width, c.height, c.dpi, shown);
            EXPECT_EQ(Of(l.stopButton), Of(c.stop));
            EXPECT_EQ(Of(l.clearButton), Of(c.clear));
            EXPECT_EQ(Of(l.filterBox), Of(c.filter));
            EXPECT_EQ(Of(l.commandLine), Of(c.commandLine));  // its row is given either way
            const Box& v = c.logView;
            EXPECT_EQ(Of(l.logView), Of(Box{v.x, v.y, v.width, shown ? c.logViewHeightAboveCommandLine : v.height}));
            EXPECT_EQ(Of(l), (std::array<int, 5>{c.filterLabel.x, c.filterLabel.y, c.commandLabel.x, c.commandLabel.y,
                                                 c.fontHeight}));
        }
    }
}
