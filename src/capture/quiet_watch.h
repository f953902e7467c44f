// src/capture/quiet_watch.h
// What the monitor thread does while the channel is quiet. A writer that dies (or hangs)
// between taking the buffer and signalling its data would leave it taken for good, and
// every later writer would give up after its own 10 s. So the buffer is looked at every
// kQuietLookMs of quiet: still ready means nobody holds it. Once a look finds it taken, it
// is made ready again only kHolderGraceMs after that look, so never sooner than that after
// it was taken: a live writer stalled by a loaded or paging machine for seconds between
// taking the buffer and signalling keeps its message. A writer queued behind a dead one is
// served within kQuietLookMs + kHolderGraceMs of the take, inside its 10 s.
#pragma once
#include <cstdint>

inline constexpr uint32_t kQuietLookMs = 4000;
inline constexpr uint32_t kHolderGraceMs = 4000;

struct QuietWatch {
    bool takenSeen = false;  // a look found the buffer taken with no data since
    uint32_t takenSeenAt = 0;
};

// A message was served and the buffer made ready: the watch starts afresh.
void QuietWatchServed(QuietWatch& watch);
// A look after kQuietLookMs of quiet, at tick now: true when the buffer is to be made
// ready again (its holder has had the grace and sent nothing).
bool QuietWatchLook(QuietWatch& watch, bool bufferStillReady, uint32_t now);
// How long to wait for data before the next look: the rest of the grace once the buffer
// was seen taken (a wait may end a timer tick early, and the grace must still hold).
uint32_t QuietWatchWaitMs(const QuietWatch& watch, uint32_t now);
