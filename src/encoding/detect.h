// src/encoding/detect.h
// Names the likely encoding of a received byte string.
#pragma once
#include <cstdint>

enum EncodingIndex : int {
    kEncJis = 0,
    kEncUtf8 = 1,
    kEncUtf8Bom = 2,
    kEncUtf16Be = 3,
    kEncUtf16Le = 4,
    kEncUtf32Be = 5,
    kEncUtf32Le = 6,
    kEncCp932 = 7,
    kEncEuc = 8,
    kEncAscii = 9,
    kEncUnknown = 10,
};

extern const char* const kEncodingNames[11];

// Index into kEncodingNames for bytes[0..length).
int DetectEncoding(const unsigned char* bytes, int32_t length);

// The four scores behind it; > 0 means acceptable, -1 means not.
float JisScore(const unsigned char* b, int32_t n);
float Utf8Score(const unsigned char* b, int32_t n);
float ShiftJisScore(const unsigned char* b, int32_t n);
float EucJpScore(const unsigned char* b, int32_t n);
