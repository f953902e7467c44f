// src/logview/filter.cpp
// The compiled pattern is kept and rebuilt only when the pattern text changes: a
// re-render of 800 entries would otherwise compile the same pattern up to 1600 times.
// Compiling never depends on the text, so this gives exactly the per-call results.
// Only the UI thread filters (see history.cpp), so the kept pattern needs no lock.
#include "logview/filter.h"

#include <oniguruma.h>

#include <chrono>
#include <string>

namespace {
using Clock = std::chrono::steady_clock;

// A typed pattern can backtrack for minutes over one line, while the window and every
// writer of debug output wait. So a search gets a retry budget that doubles only while
// the time spent, and the next round's expected cost, stay within kSearchBudget; one that
// runs out counts as no match. A retry can cost a few nanoseconds or, under nested
// look-aheads, microseconds: time, not the count, has to decide. Ordinary patterns need
// at most a few thousand cheap retries on a 511-byte line and never reach the bound.
constexpr unsigned long kFirstRetryLimit = 128;
constexpr unsigned long kLastRetryLimit = 1UL << 20;
constexpr unsigned long kRetryGrowth = 2;
constexpr Clock::duration kSearchBudget = std::chrono::microseconds(300);

bool gKeepCompiled = true;
bool gLimitTime = true;

struct CompiledFilter {
    std::string pattern;
    regex_t* regex = nullptr;  // null: pattern empty or invalid
    bool valid = false;
    OnigMatchParam* limits = nullptr;
};
CompiledFilter& Kept() {
    static CompiledFilter& kept = *new CompiledFilter;  // outlives every thread
    return kept;
}

void Compile(CompiledFilter& f, const std::string& pattern) {
    if (f.regex) onig_free(f.regex);
    f.regex = nullptr;
    f.pattern = pattern;
    OnigErrorInfo info;
    const auto* p = reinterpret_cast<const OnigUChar*>(pattern.data());
    f.valid = onig_new(&f.regex, p, p + pattern.size(), ONIG_OPTION_IGNORECASE | ONIG_OPTION_MULTILINE,
                       ONIG_ENCODING_SJIS, ONIG_SYNTAX_PERL, &info) == ONIG_NORMAL;
    if (!f.valid) f.regex = nullptr;
}

bool OutOfRetries(int result) {
    return result == ONIGERR_RETRY_LIMIT_IN_MATCH_OVER || result == ONIGERR_RETRY_LIMIT_IN_SEARCH_OVER;
}

int BoundedSearch(CompiledFilter& f, const OnigUChar* s, const OnigUChar* end, OnigRegion* region) {
    if (!f.limits) {
        f.limits = onig_new_match_param();
        if (!f.limits) return ONIGERR_MEMORY;
        onig_initialize_match_param(f.limits);
    }
    const Clock::time_point start = Clock::now();
    for (unsigned long limit = kFirstRetryLimit;; limit *= kRetryGrowth) {
        onig_set_retry_limit_in_match_of_match_param(f.limits, limit);
        onig_set_retry_limit_in_search_of_match_param(f.limits, limit);
        const Clock::time_point tierStart = Clock::now();
        const int r = onig_search_with_param(f.regex, s, end, s, end, region, ONIG_OPTION_NONE, f.limits);
        if (!OutOfRetries(r) || limit >= kLastRetryLimit) return r;
        // The next round repeats this one's work and as much again: run it only if that fits.
        const Clock::time_point now = Clock::now();
        if (gLimitTime && (now - start) + (now - tierStart) * static_cast<long>(kRetryGrowth) > kSearchBudget) {
            return r;
        }
    }
}
}  // namespace

void FilterInit() {
    OnigEncoding encodings[] = {ONIG_ENCODING_SJIS};
    onig_initialize(encodings, 1);
}

bool FilterMatch(std::string_view text, std::string_view pattern) {
    // Both are read up to their first NUL, as the texts they come from.
    text = text.substr(0, text.find('\0'));
    pattern = pattern.substr(0, pattern.find('\0'));
    if (text.empty() || pattern.empty()) return false;
    CompiledFilter& f = Kept();
    if (f.pattern != pattern || !gKeepCompiled) Compile(f, std::string(pattern));
    if (!f.valid) return false;
    OnigRegion* region = onig_region_new();
    const auto* s = reinterpret_cast<const OnigUChar*>(text.data());
    const int r = BoundedSearch(f, s, s + text.size(), region);
    onig_region_free(region, 1);
    return r >= 0;
}

void FilterReset() {
    CompiledFilter& f = Kept();
    if (f.regex) onig_free(f.regex);
    if (f.limits) onig_free_match_param(f.limits);
    f = CompiledFilter{};
}

void FilterKeepCompiledPattern(bool keep) {
    gKeepCompiled = keep;
}

void FilterLimitSearchTime(bool limit) {
    gLimitTime = limit;
}
