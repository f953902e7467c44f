// src/logview/filter.h
// The regular-expression filter: Oniguruma, Shift_JIS, Perl syntax, case-insensitive,
// "." matching line breaks.
#pragma once
#include <chrono>
#include <string_view>

// Once at start-up, before a second thread exists: the library's own lazy
// initialisation is not thread-safe.
void FilterInit();

// True when pattern matches anywhere in text. Empty text or pattern, an invalid pattern
// and a search error all give false.
bool FilterMatch(std::string_view text, std::string_view pattern);

// Forgets the compiled pattern kept between calls and puts every switch below back as the
// program runs (tests).
void FilterReset();

// Around a re-render: the searches in between share one time budget (see filter.cpp).
void FilterBeginBatch();
void FilterEndBatch();
struct FilterBatch {
    FilterBatch() { FilterBeginBatch(); }
    ~FilterBatch() { FilterEndBatch(); }
    FilterBatch(const FilterBatch&) = delete;
    FilterBatch& operator=(const FilterBatch&) = delete;
};

// With false, every call compiles and frees its own pattern (for comparison only).
void FilterKeepCompiledPattern(bool keep);

// With false, only the retry limits bound a search, so no answer depends on timing
// (tests that compare answers); the time budget is on by default.
void FilterLimitSearchTime(bool limit);

// The clock the time budget reads: the steady clock, or one a test moves (null: steady).
using FilterClock = std::chrono::steady_clock::time_point (*)();
void FilterUseClock(FilterClock now);
