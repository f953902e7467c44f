// tests/unit/find_text_test.cpp
// Finding in the view's Shift_JIS text, and the view's positions for its bytes.
#include <gtest/gtest.h>

#include "logview/find_text.h"

namespace {
size_t Find(std::string_view text, std::string what, bool down = true, size_t from = 0, bool matchCase = false) {
    return FindInText(text, FindQuery{std::move(what), matchCase, down}, from);
}
}  // namespace

TEST(FindText, AMatchNeverStartsOnATrailByteNorFoldsOne) {
    // ソ is 83 5C, ス 83 58: trail bytes that read as '\' and 'X'; Ｂ's trail 0x61 as 'a'.
    const std::string text = "\x83\x5C\x83\x58\\\x83\x58x\x82\x61";  // ソス\スxＢ
    EXPECT_EQ(Find(text, "\\\x83\x58"), 4u);                         // also the bytes at 1, from ソ's trail on
    EXPECT_EQ(Find(text, "X"), 7u);
    EXPECT_EQ(Find(text, "X", true, 0, true), kNoMatch);
    EXPECT_EQ(Find(text, "A"), kNoMatch);
}

TEST(FindText, DownFromTheSelectionsEndUpBeforeItsStartWithoutWrap) {
    const std::string text = "ERROR one\nerror two\nError three\n";
    EXPECT_EQ(Find(text, "error", true, 10), 10u);
    EXPECT_EQ(Find(text, "error", true, 11), 20u);
    EXPECT_EQ(Find(text, "error", true, 21), kNoMatch);
    EXPECT_EQ(Find(text, "error", false, 20), 10u);
    EXPECT_EQ(Find(text, "error", false, 0), kNoMatch);
    EXPECT_EQ(Find(text, "Error", true, 0, true), 20u);
    EXPECT_EQ(Find(text, ""), kNoMatch);
    EXPECT_EQ(Find("err", "error"), kNoMatch);
}

TEST(FindText, PositionsCountEachCharacterAndEachCrAndLfAndNoLines) {
    const std::string text = "ab\r\n\x83\x5C\x83\x58x\ry\n\x83\x5C";  // ab CR LF ソスx CR y LF ソ
    for (auto [offset, position] :
         {std::pair<size_t, size_t>{0, 0}, {2, 2}, {4, 4}, {6, 5}, {9, 7}, {12, 10}, {14, 11}}) {
        EXPECT_EQ(PositionOfOffset(text, offset), position) << offset;
        EXPECT_EQ(OffsetOfPosition(text, position), offset) << position;
    }
    EXPECT_EQ(OffsetOfPosition(text, 12), 14u);  // past the end: the end
}
