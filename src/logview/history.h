// src/logview/history.h
// The history: every entry offered to the log view, whether or not the filter shows it,
// with when it arrived and what kind of line it is. It knows no window; the log view
// (log_view.h) shows it. UI thread only.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

inline constexpr size_t kHistoryTrimAbove = 800;
inline constexpr size_t kHistoryKeep = 200;

enum class EntryKind : uint8_t {
    Line,    // the editor's
    Error,   // the editor's, holding the error prefix that the error cut-off counts
    Note,    // the monitor's own: the restart, repeat and cut-off notices
    Marker,  // the user's mark between two runs
};

struct Entry {
    std::string text;  // as received, its own line ends included; at most 511 bytes
    int64_t time = 0;  // the local wall clock when it arrived (LocalClockMs)
    EntryKind kind = EntryKind::Line;
};

void HistoryAppend(Entry entry);
const std::vector<Entry>& History();
// Keeps the last kHistoryKeep entries when there are more than kHistoryTrimAbove; true
// when it cut.
bool CutHistoryBack();
void ClearHistory();
