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
    // Every line's prefix comes or goes: the place is held by paragraphs and columns.
    const HeldPlace held = HoldParagraphs(Log().view, on ? kTimePrefixLength : -kTimePrefixLength);
    showTime = on;
    ReRender(held);
}

void ColourLines(bool on) {
    bool& colours = Log().view.options.colours;
    if (colours == on) return;
    const HeldPlace held = HoldPlace(Log().view);  // the same text, coloured anew
    colours = on;
    ReRender(held);
}

void WrapLines(bool on) {
    ViewState& v = Log().view;
    if (v.options.wrap == on) return;
    v.options.wrap = on;
    if (!v.handle) return;
    const RelayoutHeld held(v);           // wrapping renumbers the lines the view shows
    const RedrawPaused paused(v.handle);  // the scroll bar comes or goes: the frame too
    SetWordWrap(v.handle, on);
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
