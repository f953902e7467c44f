// src/logview/state.cpp
#include "logview/state.h"

#include "logview/filter.h"
#include "logview/zoom.h"

LogState& Log() {
    static LogState& state = *new LogState;  // outlives the monitor thread
    return state;
}

void ResetLogViewState() {
    Log() = LogState{};
    FilterReset();
    ResetLogViewZoom();
}
