// bench/filter_bench.cpp
// The filter's worst case: patterns that backtrack without end, against 511-byte lines
// (a line of 'a', and an ordinary log line), one match at a time and as a re-render of
// 801 entries. Ordinary patterns alongside, to see what the bound costs them.
#include <benchmark/benchmark.h>

#include "stand_in_view.h"

namespace {
const char* const kPatterns[] = {
    "(a+)+b",
    "(.*a){12}x",
    "(?:(?=(?:(?=a*$)a)*$)a)*$(?=a)",  // nested look-aheads: each retry rescans the line
    "(?:(?=a*c)a)*c",
    "err",
    "warn|error",
    "^2026-12-07 .*INFO",
    "[0-9]{3} ms",
    "\x88\xEA\x97\x97",  // 一覧
};

const char* const kTexts[] = {"line of a", "log line", "fuzzer's line"};

std::string Line(int kind) {
    if (kind == 0) return std::string(510, 'a') + "\n";
    // The filter fuzzer's slowest find: retries turn costly only deep into the search.
    if (kind == 2) return std::string(131, 'a') + "b" + std::string(6, 'a') + "\x93" + std::string(96, 'a');
    const std::string base =
        "2026-12-07 09:41:12.345 [plugin:format.js] INFO  line 123: formatted 42 items in 3 ms; "
        "status=ok user=taro path=C:\\Users\\taro\\AppData\\Roaming\\Kumogata\\macros\\format.js ";
    std::string line;
    while (line.size() < 510)
        line += base;
    line.resize(510);
    return line + "\n";
}

void Label(benchmark::State& state) {
    state.SetLabel(std::string(kPatterns[state.range(0)]) + " / " + kTexts[state.range(1)]);
}

void Args(benchmark::internal::Benchmark* b) {
    for (int p = 0; p < static_cast<int>(std::size(kPatterns)); ++p)
        for (int t = 0; t < 3; ++t)
            b->Args({p, t});
}
}  // namespace

static void FilterOneMatch(benchmark::State& state) {
    static bool init = (FilterInit(), true);
    (void)init;
    const std::string text = Line(static_cast<int>(state.range(1)));
    const char* pattern = kPatterns[state.range(0)];
    for (auto _ : state)
        benchmark::DoNotOptimize(FilterMatch(text, pattern));
    Label(state);
}
BENCHMARK(FilterOneMatch)->Apply(Args)->Unit(benchmark::kMicrosecond);

static void ReRender801(benchmark::State& state) {
    StandInControl view;
    PrepareStandInView(view, std::vector<std::string>(801, Line(static_cast<int>(state.range(1)))));
    SetFilterText(kPatterns[state.range(0)]);
    for (auto _ : state)
        ReRender();
    Label(state);
    SetLogView(nullptr);
}
BENCHMARK(ReRender801)->Apply(Args)->Unit(benchmark::kMillisecond);
