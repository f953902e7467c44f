// tests/unit/filter_test.cpp
// The regular-expression filter with the real library (natively and, cross-built, the
// static Windows one under Wine): what matches, without the time budget, so that no answer
// depends on how busy the machine is; then the budget itself, on a clock the test moves.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "logview/filter.h"

using namespace std::chrono_literals;

struct Filter : ::testing::Test {
    void SetUp() override {
        FilterReset();
        FilterLimitSearchTime(false);
    }
};

TEST_F(Filter, IgnoresAsciiCaseAndMatchesAnywhere) {
    EXPECT_TRUE(FilterMatch("an ERROR here\n", "err"));
    EXPECT_TRUE(FilterMatch("Error\n", "err"));
    EXPECT_FALSE(FilterMatch("fine\n", "err"));
}

TEST_F(Filter, CaretAndDollarWorkOnTheWholeText) {
    EXPECT_FALSE(FilterMatch("a\nb\n", "^b"));
    EXPECT_TRUE(FilterMatch("a\nb\n", "b$"));
    EXPECT_TRUE(FilterMatch("a\nb", "a.b"));  // dot matches a line break
}

TEST_F(Filter, EmptyTextOrPatternNeverMatches) {
    EXPECT_FALSE(FilterMatch("", ".*"));
    EXPECT_FALSE(FilterMatch("text", ""));
}

TEST_F(Filter, InvalidPatternMatchesNothingEveryTime) {
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(FilterMatch("(text)", "("));
    EXPECT_TRUE(FilterMatch("(text)", "\\("));  // and a valid one after it is rebuilt
    EXPECT_FALSE(FilterMatch("(text)", "("));
}

TEST_F(Filter, ReadsShiftJisCharactersWhole) {
    EXPECT_FALSE(FilterMatch("\x83\x5C", "\\\\"));  // ソ: its 0x5C trail byte is no backslash
    EXPECT_TRUE(FilterMatch("a\\b", "\\\\"));
    EXPECT_TRUE(FilterMatch("\x95\xCF\x90\x94\x88\xEA\x97\x97\n", "\x88\xEA"));  // 変数一覧 holds 一
}

TEST_F(Filter, KeptPatternFollowsEveryChange) {
    EXPECT_TRUE(FilterMatch("abc", "b"));
    EXPECT_FALSE(FilterMatch("abc", "x"));
    EXPECT_TRUE(FilterMatch("abc", "B"));
    EXPECT_TRUE(FilterMatch("xyz", "x"));
    EXPECT_FALSE(FilterMatch("abc", "x"));
}

TEST_F(Filter, KeptPatternGivesTheSameAnswersAsCompilingEachTime) {
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

TEST_F(Filter, OrdinaryPatternsStillMatchAtTheFarEndOfALongLine) {
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

// Each reading of this clock moves it on by the next step given, the last one repeating:
// with one step, every search round lasts exactly that long.
struct FilterBound : ::testing::Test {
    static inline std::vector<std::chrono::nanoseconds> steps{0ns};
    static inline size_t next = 0;
    static inline std::chrono::steady_clock::time_point now{};
    static std::chrono::steady_clock::time_point Read() {
        const auto t = now;
        now += steps[std::min(next++, steps.size() - 1)];
        return t;
    }
    static void Steps(std::vector<std::chrono::nanoseconds> s) { steps = std::move(s), next = 0; }
    void SetUp() override {
        FilterReset();
        FilterUseClock(Read);
    }
    void TearDown() override { FilterReset(); }

    // A nested quantifier: it matches at once where the a's run into the x, and only after
    // a dozen doubling rounds of retries (about 2^18) where a b stands between them.
    static constexpr const char* kPattern = "(?:a|aa)*x";
    const std::string quick = "aaaax\n";
    const std::string late = std::string(20, 'a') + "bx\n";
};

TEST_F(FilterBound, ASearchIsCutWhenItsRoundsTakeOverHalfTheRoundBudgetAndThenCountsAsNoMatch) {
    Steps({75us});  // the next round, twice as long, would take exactly the 150-us budget
    EXPECT_TRUE(FilterMatch(late, kPattern));
    Steps({75us + 1ns});
    EXPECT_FALSE(FilterMatch(late, kPattern));
    EXPECT_TRUE(FilterMatch(quick, kPattern));  // its first round is always run
    FilterLimitSearchTime(false);
    EXPECT_TRUE(FilterMatch(late, kPattern));
}

TEST_F(FilterBound, OnceARerendersSearchesHaveTaken250MsEachFurtherOneGetsItsFirstRoundOnly) {
    for (const auto spent : {250'000'000ns, 250'000'001ns}) {
        const FilterBatch batch;
        Steps({spent, 0ns});  // the whole of this search
        ASSERT_TRUE(FilterMatch(quick, kPattern));
        Steps({1us});
        EXPECT_EQ(FilterMatch(late, kPattern), spent == 250ms) << spent.count();
        EXPECT_TRUE(FilterMatch(quick, kPattern));
    }
    EXPECT_TRUE(FilterMatch(late, kPattern));  // a search outside a re-render has all its rounds
}
