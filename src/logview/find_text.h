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

// A byte offset as the view counts places: lines (each ended by CR LF, CR or LF) and
// characters within the line (one or two bytes each).
struct TextPlace {
    size_t line = 0;
    size_t column = 0;
};
TextPlace PlaceOfOffset(std::string_view text, size_t offset);
// Back to a byte offset; a column past its line's end stops at that end.
size_t OffsetOfPlace(std::string_view text, TextPlace place);
