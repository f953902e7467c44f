// src/logview/log_view.h
// The log view: the history's entries that pass the filter, as the renderer draws them,
// appended one by one as they arrive and rebuilt when the filter or a choice changes, at a
// trim and at a clear. Only the UI thread may call these (RunOnUiThread from elsewhere).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "logview/auto_scroll.h"
#include "logview/history.h"
#include "platform/platform.h"

inline constexpr size_t kFilterTextSize = 4096;  // buffer size: at most 4095 bytes of text
inline constexpr int32_t kLogViewHeightTwips = 180;

void SetLogView(WindowRef view);
WindowRef LogView();

void SetFilterText(const char* text);  // cut to 4095 bytes
const std::string& FilterText();

// Appends the entry if the filter lets it through (a marker it always does). With
// auto-scroll on (auto_scroll.h) it always moves the caret to the end and scrolls; off, it
// leaves the user's place alone.
void LogViewAppend(const Entry& entry);
// History append, then log-view append: what writing an entry means.
void WriteEntry(Entry entry);
// A line of the monitor's own, made now, on the UI thread; trimmed first like any output.
void WriteNote(const char* text);

// Past kHistoryTrimAbove entries, the history keeps its last kHistoryKeep and the view is
// rebuilt from them; with auto-scroll off the user's place is held.
void HistoryTrim();
// The view rebuilt from the whole history under the current filter and choices, holding
// the user's place if one is held.
void ReRender(const HeldPlace& held = {});
void ClearLog();

// The view's default format, sent with wParam 3; the text inserted next takes it. A
// refusal is shown in a box owned by the view. 1 on success, 0 on refusal.
int ApplyLogViewDefaultFormat();
// The same for any rich edit, with this height.
int ApplyDefaultFormat(WindowRef control, int32_t heightTwips);
// The same without the box, for a rebuild and a clear: a box's own message loop would let
// the monitor thread's work into a view half rebuilt. They show it once they are done.
bool SendDefaultFormat(WindowRef control, int32_t heightTwips);
// The default character format, in the colours' text colour (colours.h); the filter box
// uses it with another height.
CharFormat MakeDefaultCharFormat(int32_t heightTwips);
