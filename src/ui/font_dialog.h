// src/ui/font_dialog.h
#pragma once
#include <windows.h>

// Opens the font dialog pre-filled from the log view's selection and applies the choice
// to it. 1 when cancelled or applied, 0 when the log view refused the format.
int ChooseLogViewFont();
