// src/logview/zoom.cpp
#include "logview/zoom.h"

#include <algorithm>
#include <initializer_list>
#include <numeric>

#include "logview/auto_scroll.h"

namespace {

struct LogViewZoomState {
    TextScale text;
    int windowDpi = 96, systemDpi = 96;
    int percent = kZoomNormal;
};
LogViewZoomState& State() {
    static LogViewZoomState state;
    return state;
}

int32_t Rounded(int64_t numerator, int64_t denominator) {
    return static_cast<int32_t>((numerator + denominator / 2) / denominator);
}

// The control's own answer: 0 / 0 is no zoom, the ratio 1.
bool ShowsRatio(WindowRef control, int64_t num, int64_t den) {
    int32_t shownNum = 0, shownDen = 0;  // left so by a control that does not know the message
    SendToWindow(control, kEmGetZoom, reinterpret_cast<uintptr_t>(&shownNum), reinterpret_cast<intptr_t>(&shownDen));
    if (shownNum == 0 && shownDen == 0) return num == den;
    return shownDen != 0 && int64_t{shownNum} * den == num * int64_t{shownDen};
}

void GiveHeight(WindowRef control, int32_t twips) {
    CharFormat format{};
    format.cbSize = sizeof format;
    format.dwMask = kCfmSize;  // face, colour and effects stay
    format.yHeight = twips;
    for (uintptr_t which : {kScfAll, kScfSelection, kScfDefault})
        SendToWindow(control, kEmSetCharFormat, which, reinterpret_cast<intptr_t>(&format));
}

void ScaleLogViewText(WindowRef view) {
    LogViewZoomState& s = State();
    const int64_t num = int64_t{s.windowDpi} * s.percent, den = int64_t{s.systemDpi} * kZoomNormal;
    if (num * s.text.den == den * s.text.num) return;
    const RelayoutHeld held(Log().view);  // more or fewer lines fit now
    ScaleText(view, s.text, num, den);
}
}  // namespace

void ScaleText(WindowRef control, TextScale& scale, int64_t num, int64_t den) {
    const int64_t common = std::gcd(num, den);
    num /= common, den /= common;
    if (num == scale.num && den == scale.den) return;
    scale.num = num, scale.den = den;
    if (!scale.zoomRefused) {
        // Back to the ratio 1 as 1 / 1, not as 0 / 0 ("no zoom"): some rich edits take the
        // latter without laying their text out again.
        SendToWindow(control, kEmSetZoom, static_cast<uintptr_t>(num), static_cast<intptr_t>(den));
        if (ShowsRatio(control, num, den)) return;
        // Once refused, the height carries the ratio from then on, and no zoom that stuck
        // halfway may multiply it.
        scale.zoomRefused = true;
        SendToWindow(control, kEmSetZoom, 0, 0);
    }
    GiveHeight(control, ScaledTwips(scale, scale.designTwips));
}

int32_t ScaledTwips(const TextScale& scale, int32_t twips) {
    return scale.zoomRefused ? Rounded(twips * scale.num, scale.den) : twips;
}

int32_t UnscaledTwips(const TextScale& scale, int32_t twips) {
    return scale.zoomRefused ? Rounded(twips * scale.den, scale.num) : twips;
}

void ScaleLogView(WindowRef view, int32_t designTwips, int windowDpi, int systemDpi) {
    LogViewZoomState& s = State();
    s.text.designTwips = designTwips;
    s.windowDpi = windowDpi, s.systemDpi = systemDpi;
    ScaleLogViewText(view);
}

bool ZoomLogView(WindowRef view, int percent) {
    LogViewZoomState& s = State();
    percent = std::clamp(percent, kZoomSmallest, kZoomLargest);
    if (percent == s.percent) return false;
    s.percent = percent;
    ScaleLogViewText(view);
    return true;
}

int LogViewZoom() {
    return State().percent;
}

int32_t LogViewTwips(int32_t twips) {
    return ScaledTwips(State().text, twips);
}

int32_t LogViewDesignTwips(int32_t shownTwips) {
    return UnscaledTwips(State().text, shownTwips);
}

void ResetLogViewZoom() {
    State() = LogViewZoomState{};
}
