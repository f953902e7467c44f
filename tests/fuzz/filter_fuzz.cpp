// tests/fuzz/filter_fuzz.cpp
// An arbitrary pattern (what a user may type or paste into the filter box, up to 4095
// bytes) against an arbitrary text of at most 511 bytes (a history entry). Records the
// slowest compile and the slowest single match (its input goes to the file named by
// KG_FUZZ_SLOWEST); with KG_FUZZ_SLOW_MS set, a slower match is a finding.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "logview/filter.h"

namespace {
std::string Escaped(const std::string& s) {
    std::string out;
    char hex[8];
    for (unsigned char c : s.substr(0, 300)) {
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    return s.size() > 300 ? out + "..." : out;
}

struct Slowest {
    explicit Slowest(const char* name) : what(name) {}
    const char* what;
    double ms = 0;
    std::string pattern, text, input;
    void Note(double took, const std::string& p, const std::string& t, const uint8_t* data, size_t size) {
        if (took > ms) ms = took, pattern = p, text = t, input.assign(reinterpret_cast<const char*>(data), size);
    }
    ~Slowest() {
        if (ms == 0) return;
        std::fprintf(stderr, "slowest %s: %.3f ms, pattern of %zu bytes \"%s\", text of %zu bytes \"%s\"\n", what, ms,
                     pattern.size(), Escaped(pattern).c_str(), text.size(), Escaped(text).c_str());
        const char* path = std::getenv("KG_FUZZ_SLOWEST");
        if (FILE* f = path && std::string(what) == "match" ? std::fopen(path, "wb") : nullptr) {
            std::fwrite(input.data(), 1, input.size(), f);
            std::fclose(f);
        }
    }
};
Slowest gSlowestCompile{"compile and match"};
Slowest gSlowestMatch{"match"};
const double gSlowLimitMs = std::getenv("KG_FUZZ_SLOW_MS") ? std::atof(std::getenv("KG_FUZZ_SLOW_MS")) : 0;

double Timed(const std::string& text, const std::string& pattern, bool& result) {
    const auto start = std::chrono::steady_clock::now();
    result = FilterMatch(text, pattern);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool init = (FilterInit(), true);
    (void)init;
    // The first byte splits the input: twice that many bytes of text (at most 511), then the pattern.
    if (size < 1) return 0;
    const size_t textLength = std::min<size_t>(data[0] * 2u, size - 1);
    const std::string text(reinterpret_cast<const char*>(data + 1), std::min<size_t>(textLength, 511));
    std::string pattern(reinterpret_cast<const char*>(data + 1 + textLength), size - 1 - textLength);
    if (pattern.size() > 4095) pattern.resize(4095);

    // A new pattern compiles first (a filter change); the same one again only searches
    // (each arriving line).
    bool first = false, again = false;
    gSlowestCompile.Note(Timed(text, pattern, first), pattern, text, data, size);
    const double ms = Timed(text, pattern, again);
    gSlowestMatch.Note(ms, pattern, text, data, size);
    if (gSlowLimitMs > 0 && ms > gSlowLimitMs) std::abort();
    if ((text.c_str()[0] == '\0' || pattern.c_str()[0] == '\0') && (first || again))
        std::abort();  // empty never matches
    return 0;
}
