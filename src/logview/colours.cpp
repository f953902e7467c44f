#include "logview/colours.h"

#include "logview/auto_scroll.h"
#include "logview/log_view.h"
#include "logview/state.h"

namespace {
bool Same(const LineColours& a, const LineColours& b) {
    return a.line == b.line && a.error == b.error && a.note == b.note && a.marker == b.marker;
}
}  // namespace

bool operator==(const ColourScheme& a, const ColourScheme& b) {
    return a.background == b.background && a.text == b.text && a.label == b.label &&
           a.labelBackground == b.labelBackground && Same(a.lines, b.lines);
}

ColourScheme ChooseColours(const SystemColours& s) {
    if (!s.highContrast) return kStandardColours;
    // Error lines keep their distinction in the highlight colour, unless that is the
    // background's and would hide them.
    const uint32_t error = s.highlight != s.window ? s.highlight : s.windowText;
    return {s.window, s.windowText, s.windowText, s.window, {s.windowText, error, s.windowText, s.windowText}};
}

const ColourScheme& CurrentColours() {
    return Log().view.colours;
}

bool UseColours(const ColourScheme& scheme) {
    ViewState& v = Log().view;
    if (v.colours == scheme) return false;
    v.colours = scheme;
    if (!v.handle) return true;
    SendToWindow(v.handle, kEmSetBkgndColor, 0, scheme.background);
    // The control's own default format too, which some rich edits give text typed after a
    // line end (controls.cpp): only its colour.
    CharFormat colour{};
    colour.cbSize = sizeof colour;
    colour.dwMask = kCfmColor;
    colour.crTextColor = scheme.text;
    SendToWindow(v.handle, kEmSetCharFormat, kScfDefault, reinterpret_cast<intptr_t>(&colour));
    ReRender(PlaceNow(v));  // the same text, coloured anew: the place holds whatever auto-scroll
    return true;
}
