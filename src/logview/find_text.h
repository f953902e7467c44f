// src/logview/find_text.h
// Finding a text in the log view's text as the user typed it, in Shift_JIS. A match starts
// on a character, never on a trail byte, and spans whole characters; without match case
// only ASCII letters fold, never a trail byte that looks like one. There is no wrap: the
// search ends at the end (or the start) of the text, and the user is told so.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

struct FindQuery {
    std::string what;
    bool matchCase = false;
    bool down = true;
};
inline constexpr size_t kNoMatch = std::string_view::npos;

// Down: the first match that starts at or after from. Up: the last one that starts before
// from. kNoMatch for none, and for an empty text to find.
size_t FindInText(std::string_view text, const FindQuery& query, size_t from);

// Byte offsets in the text the view streams out, and the view's positions: one for each
// character (one or two bytes) and one for each CR and each LF. That is how rich edit 1.0
// counts its paragraph ends, a CR LF pair (Windows' documentation: "Rich Edit 1.0 used a
// carriage return and linefeed (CR/LF) character combination for paragraph markers"), and
// how Wine's counts the line end it keeps, as written. No line is counted, so the lines
// the view shows, wrapped or not, do not matter.
size_t PositionOfOffset(std::string_view text, size_t offset);
// Back to a byte offset; a position past the text's end is its end.
size_t OffsetOfPosition(std::string_view text, size_t position);
