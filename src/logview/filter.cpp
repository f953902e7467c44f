// src/logview/filter.cpp
// The compiled pattern is kept and rebuilt only when the pattern text changes: a
// re-render of 800 entries would otherwise compile the same pattern up to 1600 times.
// Compiling never depends on the text, so this gives exactly the per-call results.
// Only the UI thread filters (see history.cpp), so the kept pattern needs no lock.
#include "logview/filter.h"

#include <oniguruma.h>

#include <algorithm>
#include <chrono>
#include <string>

namespace {
using Clock = std::chrono::steady_clock;

// A typed pattern can backtrack for minutes over one line, while the window and every
// writer of debug output wait. So a search runs in rounds of doubling retry limits, and a
// round that runs out of retries is followed by the next (about twice its time) only if
// that is expected to take at most kRoundBudget; a search that stops there counts as no
// match. A retry costs a few nanoseconds, or microseconds under nested look-aheads: time,
// not the count, has to decide. Ordinary patterns need a few thousand cheap retries at
// most on a 511-byte line and never reach the bound.
constexpr unsigned long kFirstRetryLimit = 64;
constexpr unsigned long kLastRetryLimit = 1UL << 20;
constexpr Clock::duration kRoundBudget = std::chrono::microseconds(150);
// A re-render asks about up to 801 entries in a row. Once its searches have taken this
// long together, each further one gets its first round only, so that no pattern and no
// text can make one re-render take much longer.
constexpr Clock::duration kBatchBudget = std::chrono::milliseconds(250);

Clock::time_point SteadyNow() {
    return Clock::now();
}
FilterClock gNow = SteadyNow;
bool gKeepCompiled = true;
bool gLimitTime = true;
bool gInBatch = false;
Clock::duration gBatchSpent{};

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

int TimedSearch(CompiledFilter& f,
                const OnigUChar* s,
                const OnigUChar* end,
                OnigRegion* region,
                unsigned long retries,
                Clock::duration& took) {
    onig_set_retry_limit_in_match_of_match_param(f.limits, retries);
    onig_set_retry_limit_in_search_of_match_param(f.limits, retries);
    const Clock::time_point start = gNow();
    const int r = onig_search_with_param(f.regex, s, end, s, end, region, ONIG_OPTION_NONE, f.limits);
    took = gNow() - start;
    return r;
}

int BoundedSearch(CompiledFilter& f,
                  const OnigUChar* s,
                  const OnigUChar* end,
                  OnigRegion* region,
                  bool firstRoundOnly) {
    if (!f.limits) {
        f.limits = onig_new_match_param();
        if (!f.limits) return ONIGERR_MEMORY;
        onig_initialize_match_param(f.limits);
    }
    Clock::duration previous{};
    for (unsigned long retries = kFirstRetryLimit;; retries *= 2) {
        Clock::duration took;
        int r = TimedSearch(f, s, end, region, retries, took);
        if (!OutOfRetries(r) || retries >= kLastRetryLimit || firstRoundOnly) return r;
        if (!gLimitTime) continue;
        // A first round, or one far slower than the one before it, may have lost the
        // processor rather than met a costly pattern: it is timed once more, so that a
        // busy machine never cuts an ordinary search short.
        if (took * 2 > kRoundBudget && (previous == Clock::duration{} || took > previous * 4)) {
            Clock::duration again;
            r = TimedSearch(f, s, end, region, retries, again);
            took = std::min(took, again);
        }
        if (took * 2 > kRoundBudget) return r;
        previous = took;
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
    const Clock::time_point start = gNow();
    const int r = BoundedSearch(f, s, s + text.size(), region, gLimitTime && gInBatch && gBatchSpent > kBatchBudget);
    if (gInBatch) gBatchSpent += gNow() - start;
    onig_region_free(region, 1);
    return r >= 0;
}

void FilterReset() {
    CompiledFilter& f = Kept();
    if (f.regex) onig_free(f.regex);
    if (f.limits) onig_free_match_param(f.limits);
    f = CompiledFilter{};
    gNow = SteadyNow;
    gKeepCompiled = gLimitTime = true;
}

void FilterKeepCompiledPattern(bool keep) {
    gKeepCompiled = keep;
}

void FilterLimitSearchTime(bool limit) {
    gLimitTime = limit;
}

void FilterUseClock(FilterClock now) {
    gNow = now ? now : SteadyNow;
}

void FilterBeginBatch() {
    gInBatch = true;
    gBatchSpent = {};
}

void FilterEndBatch() {
    gInBatch = false;
}
