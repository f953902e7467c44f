// src/capture/display_copy.cpp
#include "capture/display_copy.h"

#include <cstring>

#include "encoding/sjis_bytes.h"

void CopyForDisplay(const std::string& text, char (&buffer)[kDisplayBufferSize]) {
    const size_t length = std::strlen(text.c_str());
    size_t kept = length;
    if (length > kDisplayTextMax) {
        // From the start: only there is it known which bytes begin a character. A lead
        // byte always takes the next byte with it, as the system's conversion does.
        kept = 0;
        for (size_t n = 0; kept < length; kept += n) {
            n = IsShiftJisLeadByte(static_cast<unsigned char>(text[kept])) ? 2 : 1;
            if (kept + n > kDisplayTextMax - 1) break;
        }
    }
    std::memset(buffer, 0, sizeof buffer);
    std::memcpy(buffer, text.data(), kept);
    // A cut right after a line end of the text's own needs no second one.
    if (kept < length && buffer[kept - 1] != '\n') buffer[kept] = '\n';
}
