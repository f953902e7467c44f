// src/capture/quiet_watch.cpp
#include "capture/quiet_watch.h"

void QuietWatchServed(QuietWatch& watch) {
    watch = QuietWatch{};
}

bool QuietWatchLook(QuietWatch& watch, bool bufferStillReady, uint32_t now) {
    if (bufferStillReady) {
        watch = QuietWatch{};
        return false;
    }
    if (!watch.takenSeen) {
        // Taken at some moment since the last look or message: the grace counts from now.
        watch.takenSeen = true;
        watch.takenSeenAt = now;
        return false;
    }
    if (static_cast<int32_t>(now - watch.takenSeenAt) < static_cast<int32_t>(kHolderGraceMs)) return false;
    watch = QuietWatch{};
    return true;
}

uint32_t QuietWatchWaitMs(const QuietWatch& watch, uint32_t now) {
    if (!watch.takenSeen) return kQuietLookMs;
    const int32_t left = static_cast<int32_t>(kHolderGraceMs) - static_cast<int32_t>(now - watch.takenSeenAt);
    return left > 0 ? static_cast<uint32_t>(left) : 0;
}
