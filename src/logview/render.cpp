// src/logview/render.cpp
#include "logview/render.h"

#include <algorithm>
#include <cstdio>

namespace {
constexpr int64_t kDayMs = 24 * 60 * 60 * 1000;

// "HH:MM:SS.mmm" and the seconds since the line shown before, each followed by a space.
int FormatPrefix(int64_t time, const RenderState& state, char* out, size_t size) {
    const ClockTime t = ClockOf(time);
    // A clock set back gives a negative time since the previous line, shown as such.
    const int64_t sincePrevious = state.anyShown ? time - state.previousTime : 0;
    const int n = std::snprintf(out, size, "%02d:%02d:%02d.%03d %+8.3f ", t.hour, t.minute, t.second, t.millisecond,
                                static_cast<double>(sincePrevious) / 1000.0);
    return n < 0 ? 0 : std::min(n, static_cast<int>(size) - 1);
}
}  // namespace

ClockTime ClockOf(int64_t time) {
    const int64_t ms = (time % kDayMs + kDayMs) % kDayMs;
    return {static_cast<int>(ms / 3600000), static_cast<int>(ms / 60000 % 60), static_cast<int>(ms / 1000 % 60),
            static_cast<int>(ms % 1000)};
}

uint32_t ColourOf(EntryKind kind, const LineColours& colours) {
    switch (kind) {
        case EntryKind::Error:
            return colours.error;
        case EntryKind::Note:
            return colours.note;
        case EntryKind::Marker:
            return colours.marker;
        case EntryKind::Line:
            break;
    }
    return colours.line;
}

LineSpan NextLine(std::string_view text, size_t at) {
    size_t end = at;
    while (end < text.size() && text[end] != '\n' && text[end] != '\r')
        ++end;
    if (end == text.size()) return {end, end, false};
    size_t lf = end;
    while (lf < text.size() && text[lf] == '\r')
        ++lf;
    if (lf < text.size() && text[lf] == '\n') return {end, lf + 1, true};
    return {end, end + 1, true};  // a CR alone
}

Rendered RenderEntry(const Entry& entry,
                     const ViewOptions& options,
                     const LineColours& colours,
                     RenderState& state,
                     std::string& scratch) {
    const Rendered plain{entry.text.c_str(), options.colours ? ColourOf(entry.kind, colours) : kNoColour};
    if (entry.text.empty()) return plain;
    Rendered out = plain;
    if (!options.showTime && entry.text.find('\r') == std::string::npos) {
        // Nothing to change: the text goes as it is, not copied.
        state.atLineStart = entry.text.back() == '\n';
    } else {
        char prefix[64];
        const int prefixLength = options.showTime ? FormatPrefix(entry.time, state, prefix, sizeof prefix) : 0;
        scratch.clear();
        // Every line of the entry gets the same prefix; one that goes on with a line begun
        // by the entry before has its prefix already.
        for (size_t at = 0; at < entry.text.size();) {
            const LineSpan line = NextLine(entry.text, at);
            if (state.atLineStart) scratch.append(prefix, static_cast<size_t>(prefixLength));
            scratch.append(entry.text, at, line.end - at);
            if (line.ended) scratch += '\n';
            state.atLineStart = line.ended;
            at = line.next;
        }
        out.text = scratch.c_str();
    }
    state.anyShown = true;
    state.previousTime = entry.time;
    return out;
}
