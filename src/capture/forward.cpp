// src/capture/forward.cpp
// The library is loaded on demand and kept; while it is missing every forwarding tries
// again, so a library put in place later is used from the next message on. The export is
// looked up afresh each time.
#include "capture/forward.h"

#include "capture/state.h"
#include "texts.h"

void ForwardMessage(Outcome outcome) {
    ForwardState& f = Capture().forward;
    if (!f.library) f.library = LoadLibraryAt(kSharedLibraryPath);
    if (!f.library) return;
    f.exportAddress = FindExport(f.library, kSharedExportName);
    if (!f.exportAddress) return;
    auto send = reinterpret_cast<SetSharedMessageFn>(f.exportAddress);
    const char* current = Monitor().displayBuffer;
    if (outcome == Outcome::Show) {
        send(current);
        return;
    }
    send(kForwardedRepeatNotice);
    // The second walk: the replays already lowered each positive counter once.
    for (auto& [key, counter] : Capture().flood.repeatCounters) {
        if (counter > 0) {
            send(current);
            --counter;
        }
    }
}
