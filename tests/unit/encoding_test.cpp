// tests/unit/encoding_test.cpp
// Encoding detection and the UTF-8 to code-page conversion; runs natively and under Wine.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "encoding/convert.h"
#include "encoding/detect.h"

namespace {
int Detect(const std::string& bytes) {
    return DetectEncoding(reinterpret_cast<const unsigned char*>(bytes.c_str()), static_cast<int32_t>(bytes.size()));
}
float Sjis(const std::string& b) {
    return ShiftJisScore(reinterpret_cast<const unsigned char*>(b.c_str()), static_cast<int32_t>(b.size()));
}
float Euc(const std::string& b) {
    return EucJpScore(reinterpret_cast<const unsigned char*>(b.c_str()), static_cast<int32_t>(b.size()));
}
}  // namespace

TEST(EncodingDetection, ByteOrderMarksWinAndFourByteMarksBeforeTwoByteOnes) {
    EXPECT_EQ(Detect(std::string("\x00\x00\xFE\xFF", 4)), kEncUtf32Be);
    EXPECT_EQ(Detect(std::string("\xFF\xFE\x00\x00\x41", 5)), kEncUtf32Le);
    EXPECT_EQ(Detect(std::string("\xFF\xFE\x41\x00", 4)), kEncUtf16Le);
    EXPECT_EQ(Detect("\xFE\xFF"), kEncUtf16Be);
    EXPECT_EQ(Detect("\xEF\xBB\xBF"
                     "abc"),
              kEncUtf8Bom);
}

TEST(EncodingDetection, JisEscapeNeedsAFollowingByte) {
    EXPECT_EQ(Detect("abc\x1B$B"), kEncJis);
    EXPECT_EQ(Detect("abc\x1B(B"), kEncJis);
    EXPECT_EQ(Detect("abc\x1B"), kEncAscii);           // ESC as the very last byte
    EXPECT_EQ(Detect("\xE3\x81\x82\x1B$"), kEncUtf8);  // a high byte before the escape
}

TEST(EncodingDetection, AsciiEmptyAndUtf8) {
    EXPECT_EQ(Detect(""), kEncAscii);
    EXPECT_EQ(Detect("plain text\n"), kEncAscii);
    EXPECT_EQ(Detect("\xE3\x81\x82"), kEncUtf8);
    EXPECT_EQ(Detect("\xF8\x88\x80\x80\x80"), kEncUtf8);  // 5-byte forms pass the test
    EXPECT_EQ(Detect("\xE3\x81"), kEncCp932);             // cut-off sequence is not UTF-8
}

TEST(EncodingDetection, ShiftJisAgainstEucJp) {
    EXPECT_EQ(Sjis("\x82\xA0"), 1.0f);
    EXPECT_EQ(Euc("\x82\xA0"), 1.0f);
    EXPECT_EQ(Detect("\x82\xA0"), kEncCp932);  // equal scores go to Shift_JIS

    EXPECT_EQ(Sjis("\xA4\xA2"), 0.9f * 0.9f);
    EXPECT_EQ(Euc("\xA4\xA2"), 1.0f);
    EXPECT_EQ(Detect("\xA4\xA2"), kEncEuc);

    EXPECT_EQ(Detect("x\xB1"), kEncEuc);       // EUC-JP lets a lead byte at the end pass
    EXPECT_EQ(Detect("\xB1\x41"), kEncCp932);  // EUC-JP rejects 41 after a lead byte
    EXPECT_EQ(Detect("\xFF"), kEncEuc);
    EXPECT_EQ(Sjis("\x81"), -1.0f);
    EXPECT_EQ(Detect("\x81"), kEncEuc);
    EXPECT_EQ(Detect("\x8E\xA1\x80"), kEncEuc);  // Shift_JIS rejects the stray 80
}

TEST(EncodingDetection, PenaltiesMultiplyInSinglePrecision) {
    float expected = 1.0f;
    for (int i = 0; i < 5; ++i)
        expected *= 0.9f;
    EXPECT_EQ(Sjis("\xB1\xB2\xB3\xB4\xB5"), expected);
    EXPECT_EQ(Euc("\x8E\xB1\x8F\xA1\xA1"), 0.9f * 0.9f);
    EXPECT_EQ(kEncodingNames[kEncUtf8Bom], std::string("UTF8BOM"));
    EXPECT_EQ(kEncodingNames[kEncUnknown], std::string("UNKNOWN"));
}

TEST(Utf8Conversion, GivesCodePage932Bytes) {
    EXPECT_EQ(Utf8ToOem(""), "");
    EXPECT_EQ(Utf8ToOem("\xE3\x81\x82"), "\x82\xA0");
    EXPECT_EQ(Utf8ToOem("ascii stays 123\n"), "ascii stays 123\n");
    EXPECT_EQ(Utf8ToOem("\xE3\x82\xBD"), "\x83\x5C");  // ソ, trail byte 0x5C
    EXPECT_EQ(Utf8ToOem("\xEF\xBD\x9E"), "\x81\x60");  // full-width tilde
}

TEST(Utf8Conversion, StopsAtNulAndNeverFailsOnBadInput) {
    const char withNul[] = "ab\0\xE3\x81\x82";
    EXPECT_EQ(Utf8ToOem(withNul), "ab");
    const std::string bad = Utf8ToOem("a\xC3(b\xFF");
    EXPECT_EQ(bad.front(), 'a');
    EXPECT_NE(bad.find('b'), std::string::npos);
    EXPECT_EQ(Utf8ToOem("\xF0\x9F\x98\x80x").back(), 'x');  // no place in 932, still converted
}
