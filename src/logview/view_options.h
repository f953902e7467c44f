// src/logview/view_options.h
// The log view's choices in its context menu (each line's time, colours, wrap) and the run
// marker. Off at start and never saved. UI thread only.
#pragma once
#include <cstdint>
#include <string>

#include "logview/render.h"

const ViewOptions& CurrentViewOptions();
// Each rebuilds the view from the history, so that lines that came while it was off show
// their own times and colours too.
void ShowTimes(bool on);
void ColourLines(bool on);
// Long lines wrap at the view's width, and the horizontal scroll bar goes; the text at the
// top stays at the top (with auto-scroll on, the view stays at its end).
void WrapLines(bool on);

// 区切り線を挿入 and Ctrl+M: one line with the local time, written like any output (trimmed
// first, kept, trimmed away in turn) but never forwarded nor counted, and shown whatever
// the filter.
void InsertMarker();
std::string MarkerText(int64_t time);
