// tests/unit/render_test.cpp
// The renderer: each line's time and the time since the line shown before, the view's line ends.
#include <gtest/gtest.h>

#include "logview/render.h"

namespace {
int64_t At(int64_t day, int h, int m, int s, int ms) {
    return ((day * 24 + h) * 60 + m) * 60000 + s * 1000 + ms;
}
const int64_t kNoon = At(154000, 12, 34, 56, 789);
}  // namespace

TEST(Render, EachLineStartsWithItsTimeAndTheSecondsSinceTheLineShownBeforeAndEndsInOneLf) {
    const struct {
        std::vector<Entry> entries;
        bool time;
        const char* shown;
    } rows[] = {
        {{{"one\n", kNoon}, {"two\n", kNoon + 12}}, true, "12:34:56.789   +0.000 one\n12:34:56.801   +0.012 two\n"},
        {{{"a\nb\n\n", kNoon}}, true, "12:34:56.789   +0.000 a\n12:34:56.789   +0.000 b\n12:34:56.789   +0.000 \n"},
        {{{"x\n", At(154000, 23, 59, 59, 990)}, {"y\n", At(154001, 0, 0, 0, 5)}},
         true,
         "23:59:59.990   +0.000 x\n00:00:00.005   +0.015 y\n"},
        {{{"x\n", kNoon}, {"y\n", kNoon - 5000}, {"z\n", kNoon + 1234500}},
         true,
         "12:34:56.789   +0.000 x\n12:34:51.789   -5.000 y\n12:55:31.289 +1239.500 z\n"},
        // A line another entry goes on with keeps the prefix it began with.
        {{{"ab", kNoon}, {"c\nd", kNoon + 1}, {"\n", kNoon + 2}},
         true,
         "12:34:56.789   +0.000 abc\n12:34:56.790   +0.001 d\n"},
        // Each line end as the rich edit reads it, as one LF; nothing to change goes as it is.
        {{{"1\r\n2\r\r\n3\r\r\r\n4\r5\r\r6\n\r7", kNoon}}, false, "1\n2\n3\n4\n5\n\n6\n\n7"},
        {{{"a\r\r\nb\rc", kNoon}}, true, "12:34:56.789   +0.000 a\n12:34:56.789   +0.000 b\n12:34:56.789   +0.000 c"},
    };
    for (const auto& row : rows) {
        ViewOptions options;
        options.showTime = row.time;
        RenderState state;
        std::string scratch, shown;
        for (const Entry& e : row.entries) {
            const Rendered r = RenderEntry(e, options, kStandardLineColours, state, scratch);
            shown += r.text;
            // Nothing to change: the entry's own text goes, not a copy.
            EXPECT_TRUE(row.time || e.text.find('\r') != std::string::npos || r.text == e.text.c_str());
        }
        EXPECT_EQ(shown, row.shown);
    }
}
