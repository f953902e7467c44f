// src/capture/pipeline.cpp
#include "capture/pipeline.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "capture/display_copy.h"
#include "capture/flood.h"
#include "capture/forward.h"
#include "encoding/convert.h"
#include "encoding/detect.h"
#include "logview/log_view.h"
#include "texts.h"

namespace {
void ReplaceFirst(std::string& text, const char* what, const char* with) {
    const size_t at = text.find(what);
    if (at != std::string::npos) text.replace(at, std::strlen(what), with);
}

void RunPipeline(CapturedMessage& msg) {
    MonitorState& m = Monitor();
    std::string work = msg.text;

    if (work == kRestartMarker) {
        msg.fromHost = false;
        if (m.restartSeen == 0) {
            // Trimmed first like any output: any process alternating the marker with
            // another message would otherwise grow the history without end.
            Entry notice{kRestartNotice, LocalClockMs(), EntryKind::Note};
            RunOnUi([&] {
                HistoryTrim();
                LogViewAppend(notice);
                HistoryAppend(std::move(notice));
            });
            m.restartSeen = 1;
        }
    } else {
        m.restartSeen = 0;
    }

    const bool hasNewline = work.find('\n') != std::string::npos;
    if (hasNewline || m.pendingText.size() + work.size() > kPendingTextLimit) {
        m.pendingText += work;
        work.swap(m.pendingText);
        m.pendingText.clear();
        m.lineComplete = 1;
    } else {
        m.pendingText += work;
        m.lineComplete = 0;
    }

    ReplaceFirst(work, kKeyword, kKeywordLabel);
    if (work.find(kDialogNoise) != std::string::npos) msg.fromHost = false;
    if (m.lineComplete == 0) return;

    const int encoding = DetectEncoding(reinterpret_cast<const unsigned char*>(work.c_str()),
                                        static_cast<int32_t>(std::strlen(work.c_str())));
    if (std::strstr(kEncodingNames[encoding], "UTF8")) work = Utf8ToOem(work.c_str());

    if (m.lineComplete == 0 || m.receiving.load() == 0 || !msg.fromHost) return;

    // The one clock read for everything this message writes, before anything that may
    // wait (a full standard output); the prefixes and colours are the renderer's work.
    const int64_t now = LocalClockMs();
    if (m.headerNeeded) {
        std::printf(kHeaderFormat, m.lastProcessId);
        std::fflush(stdout);
    }

    const Outcome outcome = FloodDecide(work);
    if (outcome == Outcome::Drop) return;

    CopyForDisplay(work, m.displayBuffer);

    // Counting reads only displayBuffer, so it may come before the UI hand-off below,
    // which does the trim and the output in one synchronous send. What the cut-off counts
    // is an error line, for the view's colours too.
    const EntryKind kind = CountErrors() ? EntryKind::Error : EntryKind::Line;
    const int replays = outcome == Outcome::RepeatNotice ? TakeReplays() : 0;
    RunOnUi([&] {
        HistoryTrim();
        if (outcome == Outcome::Show) {
            WriteEntry({m.displayBuffer, now, kind});
        } else {
            WriteRepeatNotice(replays, kind, now);
        }
    });
    ErrorCutOff(now);
    ForwardMessage(outcome);
}
}  // namespace

void ProcessMessage(CapturedMessage message) {
    // Running short of memory costs this one message; the monitor goes on with the next.
    try {
        RunPipeline(message);
    } catch (const std::bad_alloc&) {
    }
}
