// src/capture/forward.cpp
// The library is loaded on demand and kept; while it is missing (or cannot be loaded) every
// forwarding tries again, so a library put in place later is used from the next message
// on. The export is looked up afresh each time.
#include "capture/forward.h"

#include "capture/library_note.h"
#include "capture/state.h"
#include "texts.h"

void ForwardMessage(Outcome outcome) {
    ForwardState& f = Capture().forward;
    if (!f.library) {
        uint32_t error = 0;
        f.library = LoadLibraryAt(kSharedLibraryPath, &error);
        if (!f.library) return TellLibraryLoadFailure(error);
    }
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
