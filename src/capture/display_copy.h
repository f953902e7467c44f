// src/capture/display_copy.h
// What is shown, counted, kept and forwarded of a line: the display buffer's at most 511
// bytes, cut so that the line stays a line.
#pragma once
#include <cstddef>
#include <string>

inline constexpr size_t kDisplayBufferSize = 512;
inline constexpr size_t kDisplayTextMax = kDisplayBufferSize - 1;

// A text of up to 511 bytes is copied whole. A longer one keeps its first whole characters
// that fit in 510 bytes (never the lead byte of a character cut off) and ends with a line
// feed, so the next line is not joined to it. The rest of the buffer is NUL.
void CopyForDisplay(const std::string& text, char (&buffer)[kDisplayBufferSize]);
