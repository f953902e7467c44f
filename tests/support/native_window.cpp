// tests/support/native_window.cpp
// The stand-in control behind SendToWindow, message boxes, and the UI thread that serves
// RunOnUiThread as a window's message loop serves a synchronous send.
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>

#include "support/native.h"
#include "support/native_state.h"

namespace {
size_t Newlines(const char* p, size_t n) {
    return static_cast<size_t>(std::count(p, p + n, '\n'));
}
// The text's line ends, counted again only when its size shows it was changed otherwise
// than by an append through the control: every arrival asks, and a count over the whole
// text each time made long runs (and sanitized ones) slow.
size_t AllNewlines(const StandInControl& c) {
    if (c.countedSize != c.text.size()) {
        c.countedSize = c.text.size();
        c.countedNewlines = Newlines(c.text.data(), c.text.size());
    }
    return c.countedNewlines;
}
size_t LineCount(const StandInControl& c) {
    return AllNewlines(c) + 1;
}
size_t LineOf(const StandInControl& c, size_t position) {
    if (position >= c.text.size()) return AllNewlines(c);
    return Newlines(c.text.data(), position);
}
// Where a line starts; -1 past the last line, as the rich edit answers.
intptr_t LineStart(const StandInControl& c, size_t line) {
    size_t at = 0;
    for (size_t l = 0; l < line; ++l) {
        at = c.text.find('\n', at);
        if (at == std::string::npos) return -1;
        ++at;
    }
    return static_cast<intptr_t>(at);
}
void ScrollBy(StandInControl& c, intptr_t lines) {
    const size_t count = LineCount(c);
    const intptr_t last = static_cast<intptr_t>(count > c.visibleLines ? count - c.visibleLines : 0);
    c.firstVisible = static_cast<size_t>(std::clamp<intptr_t>(static_cast<intptr_t>(c.firstVisible) + lines, 0, last));
}
// A caret moved out of sight brings its line into view.
void ScrollCaretIntoView(StandInControl& c) {
    c.caretScrollDue = !c.redraw;
    if (!c.redraw) return;
    const size_t line = LineOf(c, c.backward ? c.selStart : c.selEnd);
    if (line < c.firstVisible) c.firstVisible = line;
    if (line >= c.firstVisible + c.visibleLines) c.firstVisible = line - c.visibleLines + 1;
}

struct UiJob {
    void (*fn)(void*);
    void* arg;
    bool done = false;
};
std::mutex gUiMutex;
std::condition_variable gUiChanged;
std::deque<UiJob*> gUiJobs;
std::atomic<bool> gHaveUiThread{false};
std::thread::id gUiThread;
}  // namespace

intptr_t SendToWindow(WindowRef window, unsigned message, uintptr_t wParam, intptr_t lParam) {
    auto* c = static_cast<StandInControl*>(window);
    if (!c) return 0;
    const char* text = reinterpret_cast<const char*>(lParam);
    if (c->record) {
        RecordedMessage r{message, wParam, lParam, {}, c->insertColour};
        if ((message == kEmReplaceSel || message == kWmSetText) && text) r.text = text;
        c->log.push_back(std::move(r));
    }
    if ((message == kEmReplaceSel || message == kWmSetText) && !c->redraw) c->unseenChange = true;
    switch (message) {
        case kWmSetRedraw:
            c->redraw = wParam != 0;
            if (c->redraw && c->caretScrollDue) ScrollCaretIntoView(*c);
            return 0;
        case kWmGetTextLength:
            return static_cast<intptr_t>(c->text.size());
        case kEmGetSel:
            *reinterpret_cast<uint32_t*>(wParam) = static_cast<uint32_t>(c->selStart);
            *reinterpret_cast<uint32_t*>(lParam) = static_cast<uint32_t>(c->selEnd);
            return 0;
        case kEmSetSel:
            c->selStart = std::min<size_t>(wParam, c->text.size());
            c->selEnd = std::min<size_t>(static_cast<size_t>(lParam), c->text.size());
            c->backward = c->selEnd < c->selStart;
            if (c->backward) std::swap(c->selStart, c->selEnd);
            ScrollCaretIntoView(*c);
            return 0;
        case kEmReplaceSel: {
            std::string insert = text ? text : "";
            if (c->selStart == c->text.size() && c->countedSize == c->text.size()) {
                c->countedNewlines += Newlines(insert.data(), insert.size());  // an append
                c->countedSize += insert.size();
            }
            c->text.replace(c->selStart, c->selEnd - c->selStart, insert);
            c->selStart = c->selEnd = c->selStart + insert.size();
            c->backward = false;
            ScrollCaretIntoView(*c);
            return 0;
        }
        case kWmSetText:
            c->text = text ? text : "";
            c->selStart = c->selEnd = 0;
            c->firstVisible = 0;
            return 1;
        case kEmLineScroll:
            ScrollBy(*c, lParam);
            return 1;
        case kEmGetFirstVisibleLine:
            return static_cast<intptr_t>(c->firstVisible);
        case kEmGetLineCount:
            return static_cast<intptr_t>(LineCount(*c));
        case kEmLineIndex:
            return LineStart(*c, wParam == static_cast<uintptr_t>(-1) ? LineOf(*c, c->selEnd) : wParam);
        case kEmExLineFromChar:
            return static_cast<intptr_t>(LineOf(*c, static_cast<size_t>(lParam)));
        case kEmLineLength: {
            const size_t start = static_cast<size_t>(LineStart(*c, LineOf(*c, wParam)));
            return static_cast<intptr_t>(std::min(c->text.find('\n', start), c->text.size()) - start);
        }
        case kEmSetCharFormat: {
            const auto* f = reinterpret_cast<const CharFormat*>(lParam);
            if (c->setCharFormatAnswer) c->insertColour = f->crTextColor;
            // A colour alone (the view's colours) leaves the last whole format as it was.
            if (c->setCharFormatAnswer && f->dwMask != kCfmColor) std::memcpy(&c->format, f, sizeof(CharFormat));
            return c->setCharFormatAnswer;
        }
        case kEmSetTargetDevice:
            c->wrap = lParam == 0;
            return 1;
        case kEmSetZoom:
            if (!c->takesZoom) return 0;
            c->zoomNum = static_cast<int32_t>(wParam), c->zoomDen = static_cast<int32_t>(lParam);
            return 1;
        case kEmGetZoom:
            *reinterpret_cast<int32_t*>(wParam) = c->zoomNum, *reinterpret_cast<int32_t*>(lParam) = c->zoomDen;
            return 1;
        case kEmGetCharFormat:
            std::memcpy(reinterpret_cast<void*>(lParam), &c->format, sizeof(CharFormat));
            return 0;
        default:
            return 0;
    }
}

void RepaintNow(WindowRef window) {
    auto* c = static_cast<StandInControl*>(window);
    if (c && c->redraw) ++c->paints;
    if (c && c->record) c->log.push_back({kRecordedRepaint, 0, 0, {}});
}
void RedrawWhole(WindowRef window) {
    auto* c = static_cast<StandInControl*>(window);
    if (c && c->redraw) c->unseenChange = false;
    if (c && c->record) c->log.push_back({kRecordedInvalidate, 0, 0, {}});
}

void SetCaption(WindowRef window, const char* text) {
    if (auto* c = static_cast<StandInControl*>(window)) c->caption = text;
}
void SetAccessibleName(WindowRef control, const char* name) {
    static_cast<StandInControl*>(control)->accessibleName = name;
}

void ShowError(WindowRef, const char* text) {
    StandIns().shownErrors.emplace_back(text);
}
std::vector<std::string>& ShownErrors() {
    return StandIns().shownErrors;
}

void RunOnUiThread(void (*fn)(void*), void* arg) {
    if (!gHaveUiThread.load() || std::this_thread::get_id() == gUiThread) {
        fn(arg);
        return;
    }
    UiJob job{fn, arg};
    std::unique_lock<std::mutex> lock(gUiMutex);
    gUiJobs.push_back(&job);
    gUiChanged.notify_all();
    gUiChanged.wait(lock, [&] { return job.done; });
}

void BecomeUiThread() {
    std::lock_guard<std::mutex> lock(gUiMutex);
    gUiThread = std::this_thread::get_id();
    gHaveUiThread = true;
}

bool WaitForUiJob() {
    std::unique_lock<std::mutex> lock(gUiMutex);
    return gUiChanged.wait_for(lock, std::chrono::seconds(10), [] { return !gUiJobs.empty(); });
}

void PumpUiThread() {
    std::unique_lock<std::mutex> lock(gUiMutex);
    while (!gUiJobs.empty()) {
        UiJob* job = gUiJobs.front();
        gUiJobs.pop_front();
        lock.unlock();
        job->fn(job->arg);
        lock.lock();
        job->done = true;
        gUiChanged.notify_all();
    }
}

void LeaveUiThread() {
    PumpUiThread();
    gHaveUiThread = false;
}
