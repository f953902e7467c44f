// src/ui/log_save.h
// Saving what the log view shows to a file the user picks: Shift_JIS, CR LF line ends,
// written beside the file and then put in its place.
#pragma once
#include <windows.h>

void SaveLogViewAs(HWND owner);
