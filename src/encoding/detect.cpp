// src/encoding/detect.cpp
// Byte-order marks first, then a JIS escape, plain ASCII, UTF-8, and last a contest of
// Shift_JIS against EUC-JP. Scores are single precision on purpose: ties and the 0.9
// penalties must come out exactly as they always have.
#include "encoding/detect.h"

#include "encoding/sjis_bytes.h"

const char* const kEncodingNames[11] = {"JIS",     "UTF8",  "UTF8BOM", "UTF16BE", "UTF16LE", "UTF32BE",
                                        "UTF32LE", "CP932", "EUC",     "ASCII",   "UNKNOWN"};

namespace {
constexpr float kPenalty = 0.9f;  // bit pattern 3F666666
}

float JisScore(const unsigned char* b, int32_t n) {
    if (n <= 1) return -1.0f;
    for (int32_t i = 0; i < n - 1; ++i) {
        if (b[i] == 0x00 || b[i] >= 0x80) return -1.0f;
        if (b[i] == 0x1B && (b[i + 1] == 0x24 || b[i + 1] == 0x28)) return 1.0f;
    }
    return -1.0f;
}

float Utf8Score(const unsigned char* b, int32_t n) {
    const bool mark = n >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF;
    for (int32_t i = 0; i < n;) {
        const unsigned char c = b[i];
        int32_t len;
        if (c == 0x00) return -1.0f;
        if (c <= 0x7F)
            len = 1;
        else if (c <= 0xC1)
            return -1.0f;
        else if (c <= 0xDF)
            len = 2;
        else if (c <= 0xEF)
            len = 3;
        else if (c <= 0xF7)
            len = 4;
        else if (c <= 0xFB)
            len = 5;
        else if (c <= 0xFD)
            len = 6;
        else
            return -1.0f;
        for (int32_t k = 1; k < len; ++k) {
            if (i + k >= n || b[i + k] < 0x80 || b[i + k] > 0xBF) return -1.0f;
        }
        i += len;
    }
    return mark ? 1.5f : 0.5f;
}

float ShiftJisScore(const unsigned char* b, int32_t n) {
    float score = 1.0f;
    for (int32_t i = 0; i < n;) {
        const unsigned char c = b[i];
        if (c == 0x00) return -1.0f;
        if (c <= 0x7F) {
            ++i;
        } else if (c >= 0xA1 && c <= 0xDF) {
            score *= kPenalty;
            ++i;
        } else if (IsShiftJisLeadByte(c)) {
            if (i + 1 >= n || !IsShiftJisTrailByte(b[i + 1])) return -1.0f;
            i += 2;
        } else {
            return -1.0f;  // 0x80, 0xA0, 0xFD-0xFF
        }
    }
    return score;
}

float EucJpScore(const unsigned char* b, int32_t n) {
    float score = 1.0f;
    for (int32_t i = 0; i < n;) {
        const unsigned char c = b[i];
        const int32_t after = n - i - 1;
        if (c == 0x00) return -1.0f;
        if (c <= 0x7F) {
            ++i;
        } else if (c >= 0xA1 && c <= 0xFE && after >= 1) {
            if (b[i + 1] < 0xA1 || b[i + 1] > 0xFE) return -1.0f;
            i += 2;
        } else if (c == 0x8E && after >= 1) {
            if (b[i + 1] < 0xA1 || b[i + 1] > 0xDF) return -1.0f;
            score *= kPenalty;
            i += 2;
        } else if (c == 0x8F && after >= 2) {
            if (b[i + 1] < 0xA1 || b[i + 1] > 0xFE || b[i + 2] < 0xA1 || b[i + 2] > 0xFE) return -1.0f;
            score *= kPenalty;
            i += 3;
        } else {
            ++i;  // stray high bytes and lead bytes at the end pass unpenalised
        }
    }
    return score;
}

int DetectEncoding(const unsigned char* b, int32_t n) {
    if (n >= 4) {
        if (b[0] == 0x00 && b[1] == 0x00 && b[2] == 0xFE && b[3] == 0xFF) return kEncUtf32Be;
        if (b[0] == 0xFF && b[1] == 0xFE && b[2] == 0x00 && b[3] == 0x00) return kEncUtf32Le;
    }
    if (n >= 2) {
        if (b[0] == 0xFE && b[1] == 0xFF) return kEncUtf16Be;
        if (b[0] == 0xFF && b[1] == 0xFE) return kEncUtf16Le;
    }
    if (JisScore(b, n) > 0) return kEncJis;
    bool ascii = true;
    for (int32_t i = 0; i < n && ascii; ++i)
        ascii = b[i] >= 0x01 && b[i] <= 0x7F;
    if (ascii) return kEncAscii;
    const float utf8 = Utf8Score(b, n);
    if (utf8 > 1.0f) return kEncUtf8Bom;
    if (utf8 > 0) return kEncUtf8;
    const float s = ShiftJisScore(b, n);
    const float e = EucJpScore(b, n);
    if (s > 0 && e > 0) return s >= e ? kEncCp932 : kEncEuc;
    if (s > 0) return kEncCp932;
    if (e > 0) return kEncEuc;
    return kEncUnknown;
}
