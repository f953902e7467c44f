// src/capture/flood.h
// Flood control: bursts of closely spaced messages, per-text repeat counters, repeat
// notices, and the error cut-off.
#pragma once
#include <string>

enum class Outcome { Drop, Show, RepeatNotice };

inline constexpr int32_t kBurstGapMs = 800;
inline constexpr int32_t kCountAfterMs = 3000;
inline constexpr int32_t kSuppressAfterMs = 8000;
inline constexpr int32_t kNoticeEveryMs = 2000;
inline constexpr int32_t kErrorCutOff = 10;

// The decision for one gated message; text is the whole working text.
Outcome FloodDecide(const std::string& text);

// Raises the error count when displayBuffer holds the error prefix.
void CountErrors();

// Walks the counters in key order, lowers each positive one by 1 and returns how many
// there were: the number of times the current message is replayed after a notice.
int TakeReplays();

// UI thread: the repeat notice, then displayBuffer once per replay.
void WriteRepeatNotice(int replays);

// Past ten counted errors: the cut-off notice, and reception off if it is still on.
void ErrorCutOff();
