// src/logview/render.h
// The renderer: an entry as the log view shows it. Its line ends as the view keeps them,
// the time prefix while the time is shown, its colour while lines are coloured. It knows no
// window and no history: the log view hands it each entry it shows, in order, for an
// append and a rebuild alike.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "logview/history.h"
#include "logview/rich_edit.h"

// The log view's choices, made in its context menu; all off at start, never saved.
struct ViewOptions {
    bool showTime = false;  // 時刻を表示
    bool colours = false;   // 色分け
    bool wrap = false;      // 折り返し
};

// What the renderer remembers of the view's text from one entry to the next.
struct RenderState {
    bool anyShown = false;
    int64_t previousTime = 0;  // of the entry shown last
    bool atLineStart = true;   // the text ends a line, or is empty
};

// The time prefix's length while the time since the line before stays under 10,000 s.
inline constexpr intptr_t kTimePrefixLength = 22;

// A colour as Windows takes it (COLORREF, 0x00BBGGRR).
constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) {
    return r | g << 8 | b << 16;
}

// What 色分け gives each kind of line: these, or the system's while a high-contrast theme is
// on (colours.h). Lines of the editor's stay in the default format's white.
struct LineColours {
    uint32_t line, error, note, marker;
};
inline constexpr LineColours kStandardLineColours{Rgb(255, 255, 255), Rgb(255, 120, 120), Rgb(150, 170, 220),
                                                  Rgb(255, 220, 100)};

struct Rendered {
    const char* text;  // the entry's own text when nothing changes, else the scratch buffer's
    uint32_t colour;   // to set at the insertion point first, or kNoColour
};

// The entry as the view shows it after what the state says it showed before; while lines
// are coloured, in its kind's colour of these.
Rendered RenderEntry(const Entry& entry,
                     const ViewOptions& options,
                     const LineColours& colours,
                     RenderState& state,
                     std::string& scratch);

uint32_t ColourOf(EntryKind kind, const LineColours& colours);

// One rule for lines, the rich edit's: every LF, with the CRs right before it, ends a line
// (Windows folds any such run of CRs into the one paragraph end, Wine only "\r\r\n"), and
// so does each CR that no LF follows. The view gets each line end as one LF, so that it
// shows the same lines on both, and find, the held place and a save count them as it does.
struct LineSpan {
    size_t end;   // where the line's own text ends
    size_t next;  // where the next line starts
    bool ended;   // false for a last line without a line end
};
LineSpan NextLine(std::string_view text, size_t at);

struct ClockTime {
    int hour, minute, second, millisecond;
};
ClockTime ClockOf(int64_t time);
