// tests/unit/stand_in_monitor.h
// A monitor over stand-ins (log view, stop/resume button, a tick the caller moves) and the
// monitor thread's part around the pipeline: shared by the unit tests and the pipeline
// fuzz target.
#pragma once
#include <cstdint>
#include <cstring>

#include "capture/pipeline.h"
#include "capture/receive.h"
#include "capture/state.h"
#include "logview/filter.h"
#include "logview/log_view.h"
#include "logview/state.h"
#include "logview/zoom.h"
#include "support/native.h"
#include "texts.h"

inline constexpr uint32_t kStandInStart = 1000000;

// A fresh state, the tick at kStandInStart, the view and the button in place. Searches
// run without their time budget, so that a busy machine cannot turn a match into none.
inline void ResetStandInMonitor(StandInControl& view, StandInControl& button) {
    ResetStandIns();
    SetTick(kStandInStart);
    ResetCaptureState();
    ResetLogViewState();
    FilterLimitSearchTime(false);
    SetLogView(&view);
    SetHostWindow(true);
    Monitor().stopButton = &button;
    button.caption = kCaptionStop;
}

// One message as the monitor thread hands it on, from a writer whose image is the
// editor's or another program's.
inline void ReceiveFrom(uint32_t pid, const char* text, bool fromHost) {
    SetProcessImage(pid, fromHost ? "\\Device\\HarddiskVolume2\\kumogata\\kumogata.exe"
                                  : "\\Device\\HarddiskVolume2\\tools\\other.exe");
    ReceiveMessage(pid, text);
}
