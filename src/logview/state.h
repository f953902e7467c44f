// src/logview/state.h
// Everything the history and the log view keep, in one place so that tests (and start-up)
// can reset it with one call. UI thread only: the monitor thread hands its work over with
// RunOnUiThread, a synchronous window message, so there is no lock and none can be held
// across a send.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "logview/colours.h"
#include "logview/history.h"
#include "logview/render.h"
#include "platform/platform.h"

// A selection as the user made it: Shift with an arrow key moves its active end.
struct Selection {
    intptr_t anchor = 0;
    intptr_t active = 0;
};

// The log view: the control and what is kept about it besides its text.
struct ViewState {
    WindowRef handle = nullptr;
    std::string filterText;
    ViewOptions options;
    ColourScheme colours = kStandardColours;  // colours.h
    RenderState rendered;                     // of the text the view holds now
    std::string scratch;                      // the rendered text of the entry in hand
    bool autoScroll = true;
    // The user's selection with its direction, followed from the control's reports while
    // auto-scroll is off; the reports our own changes cause are not the user's.
    Selection selection;
    bool changing = false;
};

struct LogState {
    std::vector<Entry> history;
    ViewState view;
};

// Never destroyed: the monitor thread may still hand work over while the exit handlers run.
LogState& Log();

// Back to the state at program start: no entries, no view, no filter, every option off,
// auto-scroll on.
void ResetLogViewState();
