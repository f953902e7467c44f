// src/logview/view_options.cpp
#include "logview/view_options.h"

#include <cstdio>

#include "logview/auto_scroll.h"
#include "logview/log_view.h"
#include "logview/rich_edit.h"
#include "logview/state.h"
#include "texts.h"

const ViewOptions& CurrentViewOptions() {
    return Log().view.options;
}

void ShowTimes(bool on) {
    bool& showTime = Log().view.options.showTime;
    if (showTime == on) return;
    showTime = on;
    ReRender();
}

void ColourLines(bool on) {
    bool& colours = Log().view.options.colours;
    if (colours == on) return;
    colours = on;
    ReRender();
}

void WrapLines(bool on) {
    ViewState& v = Log().view;
    if (v.options.wrap == on) return;
    v.options.wrap = on;
    if (!v.handle) return;
    // Wrapping renumbers the lines the view shows: the top is held by its text.
    const intptr_t topText = LineStart(v.handle, FirstVisibleLine(v.handle));
    {
        const RedrawPaused paused(v.handle);  // the scroll bar comes or goes: the frame too
        SetWordWrap(v.handle, on);
    }
    if (v.autoScroll) {
        ScrollLines(v.handle, LineCount(v.handle));
    } else {
        KeepTopLine(v.handle, LineOfPosition(v.handle, topText));
    }
    RepaintNow(v.handle);
}

std::string MarkerText(int64_t time) {
    const ClockTime t = ClockOf(time);
    char text[sizeof kMarkerFormat];
    std::snprintf(text, sizeof text, kMarkerFormat, t.hour, t.minute, t.second);
    return text;
}

void InsertMarker() {
    const int64_t now = LocalClockMs();
    HistoryTrim();
    WriteEntry({MarkerText(now), now, EntryKind::Marker});
}
