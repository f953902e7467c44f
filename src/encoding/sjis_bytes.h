// src/encoding/sjis_bytes.h
// The shape of Shift_JIS (code page 932) text, byte by byte.
#pragma once

// The first byte of a double-byte character; every other byte outside a double-byte
// character stands alone (ASCII, half-width katakana).
inline bool IsShiftJisLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
// The second byte of a double-byte character.
inline bool IsShiftJisTrailByte(unsigned char b) {
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}
