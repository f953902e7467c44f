// src/ui/controls.h
// The four child controls, the painted filter label, and their layout.
#pragma once
#include <windows.h>

HWND CreateLogView(HWND parent);
HWND CreateFilterBox(HWND parent);
HWND CreateStopResumeButton(HWND parent);
HWND CreateClearButton(HWND parent);
int ApplyFilterBoxDefaultFormat();

// Begins and ends the paint: call first on WM_PAINT.
void PaintFilterLabel(HWND window);
// Moves the filter box and the log view for the current client size.
void LayOutControls(HWND window);
