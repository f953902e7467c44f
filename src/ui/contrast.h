// src/ui/contrast.h
// The user's colours: while one of Windows' high-contrast themes is on, the window takes the
// system's colours (logview/colours.h chooses them). They are read when the window is made
// and again whenever the system's colours or settings change, and apply at once.
#pragma once
#include <windows.h>

// In WM_CREATE, before any control: the colours they are made in.
void AdoptSystemColours();
// WM_SYSCOLORCHANGE and WM_SETTINGCHANGE: a change of the colours reaches every control, the
// labels and the background, keeping the view's text, its selection and the filter.
void OnSystemColoursChanged(HWND window);
// The main window's own background, in the labels' background colour.
LRESULT EraseBackground(HWND window, HDC dc);
