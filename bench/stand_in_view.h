// bench/stand_in_view.h
// A stand-in log view over a history of the given lines, the filter library ready.
#pragma once
#include <string>
#include <vector>

#include "logview/filter.h"
#include "logview/log_view.h"
#include "logview/state.h"
#include "support/native.h"

inline void PrepareStandInView(StandInControl& view, const std::vector<std::string>& lines) {
    static bool init = (FilterInit(), true);
    (void)init;
    ResetLogViewState();
    view.record = false;
    SetLogView(&view);
    for (const std::string& line : lines)
        HistoryAppend({line});
}
