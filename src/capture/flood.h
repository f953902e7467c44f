// src/capture/flood.h
// Flood control: bursts of closely spaced messages, per-text repeat counters, repeat
// notices, and the error cut-off.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "logview/history.h"

enum class Outcome { Drop, Show, RepeatNotice };

inline constexpr int32_t kBurstGapMs = 800;
inline constexpr int32_t kCountAfterMs = 3000;
inline constexpr int32_t kSuppressAfterMs = 8000;
inline constexpr int32_t kNoticeEveryMs = 2000;
inline constexpr int32_t kErrorCutOff = 10;

// A burst that never pauses (a macro logging a changing line twice a second all day)
// would add an entry per distinct text for ever, and every repeat notice walks them
// all. At the bound the entries at 0 go first (they act exactly as absent ones); if
// more than half is still in use, the table starts afresh, as at a new burst.
inline constexpr size_t kRepeatCountersMaxEntries = 1024;
inline constexpr size_t kRepeatCountersMaxKeyBytes = 1024 * 1024;

// The decision for one gated message; text is the whole working text.
Outcome FloodDecide(const std::string& text);

// Raises the error count when displayBuffer holds the error prefix; true when it did.
bool CountErrors();

// Walks the counters in key order, lowers each positive one by 1 and returns how many
// there were: the number of times the current message is replayed after a notice.
int TakeReplays();

// UI thread: the repeat notice, then displayBuffer once per replay, as a line of that kind;
// all made at that time.
void WriteRepeatNotice(int replays, EntryKind replayKind, int64_t time);

// Past ten counted errors: the cut-off notice, made at that time, and reception off if it
// is still on.
void ErrorCutOff(int64_t time);
