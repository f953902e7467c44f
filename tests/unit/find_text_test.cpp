// tests/unit/find_text_test.cpp
// Finding in the view's Shift_JIS text, and places in the view's own lines and characters.
#include <gtest/gtest.h>

#include "logview/find_text.h"

namespace {
// "ソ" is 83 5C and "ス" 83 58: a trail byte 0x5C ('\') and a trail 0x58 ('X').
constexpr char kSo[] = "\x83\x5C", kSu[] = "\x83\x58";

size_t Find(std::string_view text, std::string what, bool down = true, size_t from = 0, bool matchCase = false) {
    return FindInText(text, FindQuery{std::move(what), matchCase, down}, from);
}
}  // namespace

TEST(FindText, AMatchNeverStartsOnATrailByteNorFoldsOne) {
    const std::string text = std::string(kSo) + kSu + "\\" + kSu + "x";  // ソス\スx
    EXPECT_EQ(Find(text, "\\"), 4u);                                     // the real backslash, not ソ's trail
    EXPECT_EQ(Find(text, std::string("\\") + kSu), 4u);                  // 5C 83 58 also lies at offset 1
    EXPECT_EQ(Find(text, kSu), 2u);
    EXPECT_EQ(Find(text, "X"), 7u);  // ス's trail 0x58 is no 'X'
    EXPECT_EQ(Find(text, "x", true, 0, true), 7u);
    EXPECT_EQ(Find(text, "X", true, 0, true), kNoMatch);
    EXPECT_EQ(Find("\x82\x61", "a"), kNoMatch);  // Ｂ's trail 0x61
}

TEST(FindText, DownFromTheSelectionsEndUpBeforeItsStartWithoutWrap) {
    const std::string text = "ERROR one\nerror two\nError three\n";
    EXPECT_EQ(Find(text, "error"), 0u);
    EXPECT_EQ(Find(text, "error", true, 5), 10u);
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
    const std::string text = std::string("ab\r\n") + kSo + kSu + "x\ry\n" + kSo;
    const size_t x = 8, y = 10, last = 12;
    EXPECT_EQ(PlaceOfOffset(text, x).line, 1u);
    EXPECT_EQ(PlaceOfOffset(text, x).column, 2u);
    EXPECT_EQ(PlaceOfOffset(text, y).line, 2u);
    EXPECT_EQ(PlaceOfOffset(text, last).line, 3u);
    EXPECT_EQ(PlaceOfOffset(text, last).column, 0u);
    for (size_t at : {size_t{0}, size_t{4}, size_t{6}, x, y, last, text.size()})
        EXPECT_EQ(OffsetOfPlace(text, PlaceOfOffset(text, at)), at) << at;
    EXPECT_EQ(OffsetOfPlace(text, {1, 9}), x + 1);  // at the line's end, before its CR
}
