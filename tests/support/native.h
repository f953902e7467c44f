// tests/support/native.h
// Stand-ins behind the platform layer in the native build, and the handles tests use to
// drive them: a rich-edit-like control that keeps text and selection and records every
// message, a tick the test sets, libraries the test installs, and a UI thread to serve
// RunOnUiThread the way a window's message loop serves a synchronous send.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"

inline constexpr unsigned kRecordedRepaint = 0x10000;     // UpdateWindow, as a recorded "message"
inline constexpr unsigned kRecordedInvalidate = 0x10001;  // RedrawWhole, likewise

struct RecordedMessage {
    unsigned message;
    uintptr_t wParam;
    intptr_t lParam;
    std::string text;     // the text passed, for EM_REPLACESEL and WM_SETTEXT
    uint32_t colour = 0;  // for EM_REPLACESEL: the insertion point's colour it took
};

struct StandInControl {
    std::string text;
    size_t selStart = 0;
    size_t selEnd = 0;
    bool backward = false;  // the active end is selStart (EM_SETSEL's start past its end)
    uint32_t insertColour = 0x00FFFFFF;
    bool wrap = false;
    std::string caption;
    std::string accessibleName;        // SetAccessibleName's
    CharFormat format{};               // the last format set
    intptr_t setCharFormatAnswer = 1;  // what EM_SETCHARFORMAT answers
    bool takesZoom = true;             // false: EM_SETZOOM is refused, as a rich edit 1.0 may
    int32_t zoomNum = 0, zoomDen = 0;  // 0 / 0: none
    bool record = true;
    std::vector<RecordedMessage> log;
    // What the user sees: with redraw off (WM_SETREDRAW 0) a change of text stays unseen
    // until the whole control is invalidated with redraw back on; paints counts the
    // repaints made while redraw is on.
    bool redraw = true;
    bool unseenChange = false;
    int paints = 0;
    // Lines end at '\n'. The first one shown and how many fit: a caret moved out of sight
    // scrolls its line into view, as the rich edit does, and a scroll stops at the last page.
    bool caretScrollDue = false;  // with redraw off, as Windows may, only once it is back on
    size_t firstVisible = 0;
    size_t visibleLines = 10;
    // The line ends of the text at this size, kept up to date by appends.
    mutable size_t countedSize = static_cast<size_t>(-1);
    mutable size_t countedNewlines = 0;
};

void SetTick(uint32_t now);
void AdvanceTick(uint32_t ms);
void SetLocalClock(int64_t ms);  // what LocalClockMs answers

struct StandInLibrary {
    std::map<std::string, void*> exports;
    // Not 0: a file of these bytes that fails to load so (the system's text: "%1: reason N.\r\n").
    std::string bytes;
    uint32_t loadError = 0;
};
// Puts a library at a path (nullptr removes it); LoadLibraryAt finds it there.
void PlaceLibrary(const std::string& path, StandInLibrary* library);
int LoadAttempts();  // LoadLibraryAt calls since the last reset
int ExportLookups();
void ResetStandIns();

// The host test's desktop: a window of the host's class or none, and per process id the
// image name it gives (a process not set cannot be opened). The access last asked for.
void SetHostWindow(bool present);
void SetProcessImage(uint32_t processId, const char* deviceName);
uint32_t LastProcessAccess();

// What ReadableBytesAt answers for any address.
void SetReadableBytes(size_t bytes);

// The hand-off file and the command sender: every call in order ("write:<text>",
// "delete", "start", "release"), what the next writes and starts answer, and the
// senders started so far, which the test ends.
struct StandInSender {
    bool ended = false;
};
std::vector<std::string>& HandOffCalls();
void SetHandOffWriteError(uint32_t error);
void SetSenderStartError(uint32_t error);
std::deque<StandInSender>& StartedSenders();  // a deque: each keeps its address
// Runs once, inside the next start: what the window's messages may do while a start is slow.
void DuringNextSenderStart(std::function<void()> hook);

// Texts given to ShowError, oldest first.
std::vector<std::string>& ShownErrors();

// Makes the calling thread the UI thread: from then on RunOnUiThread from any other thread
// waits until this thread has run the job in PumpUiThread.
void BecomeUiThread();
bool WaitForUiJob();   // until another thread hands a job over; false after 10 s without one
void PumpUiThread();   // runs every waiting job
void LeaveUiThread();  // back to running jobs inline
