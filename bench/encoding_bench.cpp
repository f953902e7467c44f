// bench/encoding_bench.cpp
// Encoding detection of one 500-byte line, Shift_JIS and UTF-8.
#include <benchmark/benchmark.h>

#include <string>

#include "encoding/detect.h"

static std::string Repeat(const std::string& unit, size_t bytes) {
    std::string s;
    while (s.size() + unit.size() <= bytes)
        s += unit;
    s.resize(bytes, 'a');
    return s;
}

static void Detect(benchmark::State& state, const std::string& line) {
    const auto* p = reinterpret_cast<const unsigned char*>(line.data());
    for (auto _ : state)
        benchmark::DoNotOptimize(DetectEncoding(p, static_cast<int32_t>(line.size())));
    state.SetBytesProcessed(state.iterations() * line.size());
}

BENCHMARK_CAPTURE(Detect, ShiftJis500, Repeat("\x82\xA0\x83\x5C abc ", 500));
BENCHMARK_CAPTURE(Detect, Utf8_500, Repeat("\xE3\x81\x82\xE3\x82\xBD abc ", 500));
