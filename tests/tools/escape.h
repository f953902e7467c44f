// tests/tools/escape.h
// The test tools' command-line escapes: \n \r \t \\ and \xHH, so that any bytes
// (Shift_JIS, UTF-8, control bytes) pass through an ASCII command line untouched.
#pragma once
#include <cstdlib>
#include <string>

inline std::string Unescape(const char* s) {
    std::string out;
    for (; *s; ++s) {
        if (*s != '\\' || !s[1]) {
            out += *s;
            continue;
        }
        ++s;
        switch (*s) {
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'x': {
                // Up to two hex digits; a cut-off escape never reads past the text's end.
                char hex[3] = {};
                for (int k = 0; k < 2 && s[1]; ++k)
                    hex[k] = *++s;
                out += static_cast<char>(std::strtoul(hex, nullptr, 16));
                break;
            }
            default:
                out += *s;
                break;
        }
    }
    return out;
}
