// tests/unit/find_text_test.cpp
// Finding in the view's Shift_JIS text, and places in the view's own lines and characters.
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

TEST(FindText, PlacesCountLinesByAnyLineEndAndCharactersNotBytes) {
    const std::string text = "ab\r\n\x83\x5C\x83\x58x\ry\n\x83\x5C";  // ab CR LF ソスx CR y LF ソ
    const TextPlace x = PlaceOfOffset(text, 8), last = PlaceOfOffset(text, 12);
    EXPECT_EQ(std::make_pair(x.line, x.column), std::make_pair(size_t{1}, size_t{2}));
    EXPECT_EQ(std::make_pair(last.line, last.column), std::make_pair(size_t{3}, size_t{0}));
    for (size_t at : {0, 4, 6, 8, 10, 12, 14})
        EXPECT_EQ(OffsetOfPlace(text, PlaceOfOffset(text, at)), at) << at;
    EXPECT_EQ(OffsetOfPlace(text, {1, 9}), 9u);  // at the line's end, before its CR
}
