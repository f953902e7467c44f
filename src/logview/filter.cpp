// src/logview/filter.cpp
// The compiled pattern is kept and rebuilt only when the pattern text changes: a
// re-render of 800 entries would otherwise compile the same pattern up to 1600 times.
// Compiling never depends on the text, so this gives exactly the per-call results.
// Only the UI thread filters (see history.cpp), so the kept pattern needs no lock.
#include "logview/filter.h"

#include <oniguruma.h>

#include <string>

namespace {
bool gKeepCompiled = true;

struct CompiledFilter {
    std::string pattern;
    regex_t* regex = nullptr;  // null: pattern empty or invalid
    bool valid = false;
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
    const int r = onig_search(f.regex, s, s + text.size(), s, s + text.size(), region, ONIG_OPTION_NONE);
    onig_region_free(region, 1);
    return r >= 0;
}

void FilterReset() {
    CompiledFilter& f = Kept();
    if (f.regex) onig_free(f.regex);
    f = CompiledFilter{};
}

void FilterKeepCompiledPattern(bool keep) {
    gKeepCompiled = keep;
}
