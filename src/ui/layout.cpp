// src/ui/layout.cpp
// The design's figures: buttons along the top left, the filter box 5 from the right edge
// with its label 130 left of it, the log view below with a margin of 5, and the command
// line's row (22 high, 5 from the bottom) right of its label.
#include "ui/layout.h"

#include <algorithm>

int ScaledLength(int lengthAt96, int dpi) {
    const long long product = static_cast<long long>(lengthAt96) * dpi;
    const long long half = kDesignDpi / 2;
    return static_cast<int>(product >= 0 ? (product + half) / kDesignDpi : -((-product + half) / kDesignDpi));
}

WindowLayout LayOutWindow(int clientWidth, int clientHeight, int dpi, bool commandLineShown) {
    auto s = [dpi](int length) { return ScaledLength(length, dpi); };
    const int w = clientWidth, h = clientHeight;
    const int margin = s(5), top = s(10), rowHeight = s(22);
    WindowLayout l{};
    l.stopButton = {margin, top, s(80), s(21)};
    l.clearButton = {s(95), top, s(50), s(21)};
    l.filterBox = {w - margin - s(150), top, s(150), rowHeight};
    l.filterLabel = {w - s(285), s(13)};
    const int commandX = margin + s(75);  // right of a label as wide as its ten bytes
    l.commandLine = {commandX, std::max(0, h - margin - rowHeight), std::max(0, w - margin - commandX), rowHeight};
    l.commandLabel = {margin, l.commandLine.y + s(3)};
    // A client area smaller than the margins gives an empty view, not a negative size.
    const int viewY = s(40);
    const int below = margin + (commandLineShown ? rowHeight + margin : 0);
    l.logView = {margin, viewY, std::max(0, w - 2 * margin), std::max(0, h - viewY - below)};
    l.fontHeight = s(14);
    l.commandLineShown = commandLineShown;
    return l;
}
