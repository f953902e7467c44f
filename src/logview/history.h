// src/logview/history.h
// The history of every text offered to the log view, the filter text, and the log view
// operations. Only the UI thread may call these (RunOnUiThread from elsewhere).
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "platform/platform.h"

inline constexpr size_t kHistoryTrimAbove = 800;
inline constexpr size_t kHistoryKeep = 200;
inline constexpr size_t kFilterTextSize = 4096;  // buffer size: at most 4095 bytes of text
inline constexpr int32_t kLogViewHeightTwips = 180;

void SetLogView(WindowRef view);
WindowRef LogView();

void SetFilterText(const char* text);  // cut to 4095 bytes
const std::string& FilterText();

void HistoryAppend(const char* text);
const std::vector<std::string>& History();

// Appends to the view if the text passes the filter. With auto-scroll on (auto_scroll.h) it
// always moves the caret to the end and scrolls; off, it leaves the user's place alone.
void LogViewAppend(WindowRef view, const char* text);
void HistoryTrim();
void ReRender();
void ClearLog();
int ApplyLogViewDefaultFormat();

// Sends the default format with this height to a rich edit (wParam 3); a refusal is
// shown in a box owned by that control. 1 on success, 0 on refusal.
int ApplyDefaultFormat(WindowRef control, int32_t heightTwips);

// The default character format; the filter box uses it with another height.
CharFormat MakeDefaultCharFormat(int32_t heightTwips);

// History append, then log-view append: what "writing" a text means.
void WriteText(const char* text);

void ResetLogViewState();  // tests
