// src/logview/find_text.cpp
#include "logview/find_text.h"

#include "encoding/sjis_bytes.h"

namespace {
// A lead byte without its trail (the text's end, a line end) counts as a character alone.
size_t CharLength(std::string_view s, size_t at) {
    const bool pair = at + 1 < s.size() && IsShiftJisTrailByte(static_cast<unsigned char>(s[at + 1]));
    return pair && IsShiftJisLeadByte(static_cast<unsigned char>(s[at])) ? 2 : 1;
}
char Folded(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Character by character, so that the text's characters line up with the query's.
bool MatchesAt(std::string_view text, size_t at, const FindQuery& q) {
    for (size_t i = 0; i < q.what.size();) {
        if (at >= text.size()) return false;
        const size_t n = CharLength(q.what, i);
        if (CharLength(text, at) != n) return false;
        if (n == 1 && !q.matchCase) {
            if (Folded(text[at]) != Folded(q.what[i])) return false;
        } else if (text.compare(at, n, q.what, i, n) != 0) {
            return false;
        }
        i += n, at += n;
    }
    return true;
}

}  // namespace

size_t FindInText(std::string_view text, const FindQuery& query, size_t from) {
    if (query.what.empty()) return kNoMatch;
    size_t found = kNoMatch;
    for (size_t at = 0; at < text.size(); at += CharLength(text, at)) {
        if (!query.down && at >= from) break;
        if (query.down && at < from) continue;
        if (MatchesAt(text, at, query)) {
            found = at;
            if (query.down) break;
        }
    }
    return found;
}

size_t PositionOfOffset(std::string_view text, size_t offset) {
    size_t position = 0;
    for (size_t at = 0; at < offset && at < text.size(); at += CharLength(text, at))
        ++position;
    return position;
}

size_t OffsetOfPosition(std::string_view text, size_t position) {
    size_t at = 0;
    for (size_t p = 0; p < position && at < text.size(); ++p)
        at += CharLength(text, at);
    return at;
}
