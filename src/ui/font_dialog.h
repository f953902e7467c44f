// src/ui/font_dialog.h
#pragma once
#include <windows.h>

// Opens the font dialog pre-filled from the log view's selection and applies the choice
// to it. 1 when cancelled or applied, 0 when the log view refused the format.
int ChooseLogViewFont();

// Dialog height in pixels (negative) from twips, and twips from tenths of a point.
int TwipsToLogFontHeight(int twips, int pixelsPerInch);
int PointSizeToTwips(int tenthsOfAPoint);

// The rich edit's effect bits for a font the dialog gave back: bold from weight 700 on.
DWORD ChosenEffects(const LOGFONTA& font);
