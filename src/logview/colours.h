// src/logview/colours.h
// The colours the window is drawn in: its own (the views dark blue with white text, the
// labels dark red on white, 色分け's colours), or, while one of Windows' high-contrast themes
// is on, the user's: the system's window and text colours everywhere, and its highlight
// colour for error lines while lines are coloured. The window reads the system's colours;
// the choice, and the log view's part of a change, are here. UI thread only.
#pragma once
#include <cstdint>

#include "logview/render.h"

// As the system gives them (COLORREF).
struct SystemColours {
    bool highContrast = false;  // a high-contrast theme is on
    uint32_t window = 0, windowText = 0, highlight = 0;
};

struct ColourScheme {
    uint32_t background, text;        // the log view's, the filter box's and the command line's
    uint32_t label, labelBackground;  // the painted labels, on the main window's own background
    LineColours lines;
};
bool operator==(const ColourScheme& a, const ColourScheme& b);

inline constexpr ColourScheme kStandardColours{Rgb(0, 0, 51), Rgb(255, 255, 255), Rgb(30, 0, 0), Rgb(255, 255, 255),
                                               kStandardLineColours};

// Without high contrast, always the standard colours, whatever the system's are.
ColourScheme ChooseColours(const SystemColours& system);

const ColourScheme& CurrentColours();
// From now on: the log view's background at once, and its text rebuilt from the history in
// the new colours, the same text with the user's place and selection held. False, with
// nothing sent, when these are the colours in use. The one-line boxes, the labels and the
// window's background are the window's to change.
bool UseColours(const ColourScheme& scheme);
