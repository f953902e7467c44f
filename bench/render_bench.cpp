// bench/render_bench.cpp
// Re-render of 800 entries of about 80 bytes, half of them matching the filter, on the
// stand-in control: a freshly compiled pattern per test against the kept one, and the kept
// one with each line's time shown and the lines coloured.
#include <benchmark/benchmark.h>

#include "logview/view_options.h"
#include "stand_in_view.h"

static void ReRender800(benchmark::State& state) {
    std::vector<std::string> lines;
    for (int i = 0; i < 800; ++i) {
        std::string line = (i % 2 ? "plugin warning " : "plugin info ") + std::to_string(i) + " ";
        line.resize(79, '.');
        lines.push_back(line + "\n");
    }
    StandInControl view;
    PrepareStandInView(view, lines);
    SetFilterText("warn(ing)? [0-9]+");
    FilterKeepCompiledPattern(state.range(0) != 0);
    ShowTimes(state.range(0) == 2);
    ColourLines(state.range(0) == 2);
    for (auto _ : state)
        ReRender();
    FilterKeepCompiledPattern(true);
    ShowTimes(false), ColourLines(false);
    state.SetLabel(state.range(0) == 2 ? "kept pattern, times and colours"
                   : state.range(0)    ? "kept pattern"
                                       : "compile per test");
    SetLogView(nullptr);
}
BENCHMARK(ReRender800)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
