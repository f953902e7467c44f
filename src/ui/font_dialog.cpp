// src/ui/font_dialog.cpp
#include "ui/font_dialog.h"

#include <windows.h>

#include <commdlg.h>
#include <richedit.h>

#include <cstring>

#include "logview/log_view.h"
#include "logview/zoom.h"
#include "texts.h"

namespace {
constexpr DWORD kDefaultFormatMask = 0xE800000F;

// Dialog height in pixels (negative) from twips, and twips from tenths of a point.
int TwipsToLogFontHeight(int twips, int pixelsPerInch) {
    return MulDiv(twips, pixelsPerInch, -1440);
}
int PointSizeToTwips(int tenthsOfAPoint) {
    return tenthsOfAPoint * 2;
}

// The rich edit's effect bits for a font the dialog gave back: bold from weight 700 on.
DWORD ChosenEffects(const LOGFONTA& font) {
    DWORD effects = 0;
    if (font.lfWeight >= 700) effects |= CFE_BOLD;
    if (font.lfItalic) effects |= CFE_ITALIC;
    if (font.lfUnderline) effects |= CFE_UNDERLINE;
    if (font.lfStrikeOut) effects |= CFE_STRIKEOUT;
    return effects;
}
}  // namespace

int ChooseLogViewFont() {
    HWND view = static_cast<HWND>(LogView());
    CHARFORMATA format{};
    format.cbSize = sizeof format;
    SendMessageA(view, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));

    LOGFONTA font{};
    HDC dc = GetDC(view);
    // Sizes as the user means them: where the view's text height carries the zoom, without it.
    font.lfHeight = TwipsToLogFontHeight(LogViewDesignTwips(format.yHeight), GetDeviceCaps(dc, LOGPIXELSY));
    ReleaseDC(view, dc);
    const BYTE effects = static_cast<BYTE>(format.dwEffects & 0xFF);
    font.lfWeight = (effects & CFE_BOLD) ? 700 : 400;
    font.lfItalic = (effects & CFE_ITALIC) ? 1 : 0;
    font.lfUnderline = (effects & CFE_UNDERLINE) ? 1 : 0;
    font.lfStrikeOut = (effects & CFE_STRIKEOUT) ? 1 : 0;
    font.lfCharSet = format.bCharSet;
    font.lfPitchAndFamily = format.bPitchAndFamily;
    font.lfQuality = DEFAULT_QUALITY;
    std::memcpy(font.lfFaceName, format.szFaceName, sizeof font.lfFaceName);
    font.lfFaceName[LF_FACESIZE - 1] = '\0';

    CHOOSEFONTA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = view;
    dialog.lpLogFont = &font;
    dialog.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS;
    dialog.rgbColors = format.crTextColor;
    if (ChooseFontA(&dialog)) {
        format.cbSize = sizeof format;
        format.dwMask = kDefaultFormatMask;
        format.yHeight = LogViewTwips(PointSizeToTwips(dialog.iPointSize));
        format.dwEffects = ChosenEffects(font);
        format.crTextColor = dialog.rgbColors;
        format.bCharSet = font.lfCharSet;
        format.bPitchAndFamily = font.lfPitchAndFamily;
        std::memcpy(format.szFaceName, font.lfFaceName, sizeof format.szFaceName);
        if (SendMessageA(view, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format)) == 0) {
            MessageBoxA(view, kFontFailed, kErrorCaption, MB_OK);
            return 0;
        }
    }
    SetFocus(view);
    return 1;
}
