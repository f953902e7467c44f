// tests/unit/filter_test.cpp
// The regular-expression filter with the real library (natively and, cross-built, the
// static Windows one under Wine).
#include <gtest/gtest.h>

#include "logview/filter.h"

TEST(Filter, IgnoresAsciiCaseAndMatchesAnywhere) {
    EXPECT_TRUE(FilterMatch("an ERROR here\n", "err"));
    EXPECT_TRUE(FilterMatch("Error\n", "err"));
    EXPECT_FALSE(FilterMatch("fine\n", "err"));
}

TEST(Filter, CaretAndDollarWorkOnTheWholeText) {
    EXPECT_FALSE(FilterMatch("a\nb\n", "^b"));
    EXPECT_TRUE(FilterMatch("a\nb\n", "b$"));
    EXPECT_TRUE(FilterMatch("a\nb", "a.b"));  // dot matches a line break
}

TEST(Filter, EmptyTextOrPatternNeverMatches) {
    EXPECT_FALSE(FilterMatch("", ".*"));
    EXPECT_FALSE(FilterMatch("text", ""));
}

TEST(Filter, InvalidPatternMatchesNothingEveryTime) {
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(FilterMatch("(text)", "("));
    EXPECT_TRUE(FilterMatch("(text)", "\\("));  // and a valid one after it is rebuilt
    EXPECT_FALSE(FilterMatch("(text)", "("));
}

TEST(Filter, ReadsShiftJisCharactersWhole) {
    EXPECT_FALSE(FilterMatch("\x83\x5C", "\\\\"));  // ソ: its 0x5C trail byte is no backslash
    EXPECT_TRUE(FilterMatch("a\\b", "\\\\"));
    EXPECT_TRUE(FilterMatch("\x95\xCF\x90\x94\x88\xEA\x97\x97\n", "\x88\xEA"));  // 変数一覧 holds 一
}

TEST(Filter, KeptPatternFollowsEveryChange) {
    EXPECT_TRUE(FilterMatch("abc", "b"));
    EXPECT_FALSE(FilterMatch("abc", "x"));
    EXPECT_TRUE(FilterMatch("abc", "B"));
    EXPECT_TRUE(FilterMatch("xyz", "x"));
    EXPECT_FALSE(FilterMatch("abc", "x"));
}

TEST(Filter, KeptPatternGivesTheSameAnswersAsCompilingEachTime) {
    const char* patterns[] = {"err", "^b", "b$", "a.b", "(", "\\\\", "\x88\xEA", "x"};
    const char* texts[] = {"ERROR\n", "a\nb\n", "a\nb", "\x83\x5C", "a\\b", "\x88\xEA", "", "xyz"};
    for (const char* p : patterns) {
        for (const char* t : texts) {
            FilterKeepCompiledPattern(false);
            const bool fresh = FilterMatch(t, p);
            FilterKeepCompiledPattern(true);
            EXPECT_EQ(FilterMatch(t, p), fresh) << p << " / " << t;
        }
    }
}

TEST(Filter, OrdinaryPatternsStillMatchAtTheFarEndOfALongLine) {
    // Every earlier position is tried first: hundreds of retries, as a real log line costs.
    std::string line(495, '.');
    line += " Error \x88\xEA\x97\x97 042\n";  // 一覧
    ASSERT_EQ(line.size(), 511u);
    for (const char* p : {"error", "warn|error|fatal", "e[r]+or", "[0-9]{3}$", "\\d+\\n", "\x88\xEA\x97\x97 0",
                          "^\\.+ Error", "(?:x|y|err)or \x88\xEA", "\\bERROR\\b"}) {
        EXPECT_TRUE(FilterMatch(line, p)) << p;
    }
    for (const char* p : {"warn|fatal", "[0-9]{4}", "^Error", "\x88\xEA\x97\x97$"})
        EXPECT_FALSE(FilterMatch(line, p)) << p;
}
