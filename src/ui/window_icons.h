// src/ui/window_icons.h
// The window's own icons at the sizes its DPI asks for: the small one in the title bar, the
// big one for Alt+Tab. The icon file holds every size from 16 to 256 pixels.
#pragma once
#include <windows.h>

// Loads them for the window's DPI and gives them to it (WM_SETICON); the ones they replace
// are destroyed. At creation and again after each change of the DPI.
void SetWindowIcons(HWND window);
// Once the window is gone.
void DestroyWindowIcons();
