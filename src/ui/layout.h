// src/ui/layout.h
// Where everything in the main window goes: the window's design at 96 DPI, every length
// scaled by the window's DPI. The layout owns every place; the controls ask it for theirs.
#pragma once

inline constexpr int kDesignDpi = 96;
inline constexpr int kWindowWidth = 500;  // the outer size at creation, at 96 DPI
inline constexpr int kWindowHeight = 480;

// A length of the design at this DPI, rounded half away from zero as MulDiv rounds.
int ScaledLength(int lengthAt96, int dpi);

struct Box {
    int x, y, width, height;
};
struct TextSpot {
    int x, y;
};
struct WindowLayout {
    Box logView, filterBox, stopButton, clearButton, commandLine;
    TextSpot filterLabel, commandLabel;
    int fontHeight;  // the buttons' and the labels' font, in pixels
    bool commandLineShown;
};

// For a client area of this size. The log view leaves room for the command line's row
// while it is shown; the row's place is given either way.
WindowLayout LayOutWindow(int clientWidth, int clientHeight, int dpi, bool commandLineShown);
