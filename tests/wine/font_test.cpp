// tests/wine/font_test.cpp
// The font dialog's conversions between the rich edit's format and a logical font.
#include <gtest/gtest.h>
#include <windows.h>

#include <richedit.h>

#include "ui/font_dialog.h"

TEST(FontDialog, NinePointIsMinusTwelvePixelsAt96DpiAndBackTo180Twips) {
    EXPECT_EQ(TwipsToLogFontHeight(180, 96), -12);
    EXPECT_EQ(TwipsToLogFontHeight(200, 120), -17);  // MulDiv rounds
    EXPECT_EQ(PointSizeToTwips(90), 180);
}

TEST(FontDialog, BoldFromWeight700AndTheOtherEffectsFromTheirFlags) {
    LOGFONTA font{};
    font.lfWeight = 600;
    EXPECT_EQ(ChosenEffects(font), 0u);
    font.lfWeight = 700;
    EXPECT_EQ(ChosenEffects(font), static_cast<DWORD>(CFE_BOLD));
    font.lfWeight = 900;
    font.lfItalic = font.lfUnderline = font.lfStrikeOut = 1;
    EXPECT_EQ(ChosenEffects(font), static_cast<DWORD>(CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_STRIKEOUT));
}
