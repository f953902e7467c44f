// bench/pipeline_bench.cpp
// ProcessMessage for a 100-byte host line on the stand-in control: no filter, a filter,
// and the third phase of a burst with 1,000 distinct keys in the repeat counters.
#include <benchmark/benchmark.h>

#include "capture/pipeline.h"
#include "logview/filter.h"
#include "logview/log_view.h"
#include "logview/state.h"
#include "support/native.h"

namespace {
std::string HostLine(int i) {
    std::string line = "macro.lua:" + std::to_string(i) + ": value = ";
    line.resize(99, 'v');
    return line + "\n";
}

void Prepare(StandInControl& view) {
    static bool init = (FilterInit(), true);
    (void)init;
    ResetStandIns();
    ResetCaptureState();
    ResetLogViewState();
    view.record = false;
    SetLogView(&view);
    Monitor().headerNeeded = 0;  // one writer, lines all ending in a newline
}
}  // namespace

static void Pipeline(benchmark::State& state) {
    StandInControl view;
    Prepare(view);
    if (state.range(0)) SetFilterText("value = v+$");
    std::vector<std::string> lines;
    for (int i = 0; i < 1000; ++i)
        lines.push_back(HostLine(i));
    uint32_t tick = 0;
    size_t i = 0;
    for (auto _ : state) {
        tick += 900;  // each line its own burst: always shown
        SetTick(tick);
        ProcessMessage({1, lines[i++ % lines.size()].c_str(), true});
        if (view.text.size() > (1u << 20)) {
            state.PauseTiming();
            view.text.clear();
            state.ResumeTiming();
        }
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel(state.range(0) ? "filter set" : "no filter");
}
BENCHMARK(Pipeline)->Arg(0)->Arg(1);

static void PipelineThirdPhase(benchmark::State& state) {
    StandInControl view;
    Prepare(view);
    std::vector<std::string> lines;
    for (int i = 0; i < 1000; ++i)
        lines.push_back(HostLine(i));
    uint32_t tick = 0;
    // Fill the counters in the second phase, then stay in the third.
    for (int t = 0; t <= 8000; t += 8) {
        SetTick(tick = static_cast<uint32_t>(t));
        ProcessMessage({1, lines[(t / 8) % lines.size()].c_str(), true});
    }
    size_t i = 0;
    for (auto _ : state) {
        ProcessMessage({1, lines[i++ % lines.size()].c_str(), true});
        if (i % 100 == 0) SetTick(tick += 1);  // stays within the burst
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel("third phase, 1000 keys");
}
BENCHMARK(PipelineThirdPhase);
