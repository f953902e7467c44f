// tests/unit/layout_test.cpp
// The window's figures: the design's lengths at 96 DPI scaled by the window's DPI (halves
// rounded up), the right and bottom edges kept from the client area's.
#include <gtest/gtest.h>

#include <vector>

#include "ui/layout.h"

namespace {
// The client area, then x, y, width and height of the stop and clear buttons, the filter box,
// the command line's row and the log view (its height without, then with, the command line),
// the two labels' places and the font's height.
const std::vector<int> kCases[] = {
    {96, 484, 421, 5,  10, 80, 21,  95,  10,  50,  21, 329, 10,  150, 22,
     80, 394, 399, 22, 5,  40, 474, 376, 349, 199, 13, 5,   397, 14},
    {144, 726, 632, 8,  15, 120, 32,  143, 15,  75,  32, 493, 15,  225, 33,
     121, 591, 597, 33, 8,  60,  710, 564, 523, 298, 20, 8,   596, 21},
    {192, 968, 842, 10, 20, 160, 42,  190, 20,  100, 42, 658, 20,  300, 44,
     160, 788, 798, 44, 10, 80,  948, 752, 698, 398, 26, 10,  794, 28},
};
}  // namespace

TEST(Layout, EveryFigureAt96And144And192DpiWithAndWithoutTheCommandLine) {
    for (const std::vector<int>& c : kCases) {
        for (const bool shown : {false, true}) {
            const WindowLayout l = LayOutWindow(c[1], c[2], c[0], shown);
            std::vector<int> got(c.begin(), c.begin() + 3);
            for (const Box& b : {l.stopButton, l.clearButton, l.filterBox, l.commandLine, l.logView})
                got.insert(got.end(), {b.x, b.y, b.width, b.height});
            got.insert(got.begin() + (shown ? 22 : 23), c[shown ? 22 : 23]);  // the height it does not have
            got.insert(got.end(), {l.filterLabel.x, l.filterLabel.y, l.commandLabel.x, l.commandLabel.y, l.fontHeight});
            EXPECT_EQ(got, c) << c[0] << (shown ? " with" : " without") << " the command line";
        }
    }
}
