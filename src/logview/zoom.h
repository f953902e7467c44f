// src/logview/zoom.h
// How large a rich edit's text is drawn. A rich edit lays its points out at the system's
// DPI, so in a window at another DPI (another monitor's) its text is scaled by the ratio of
// the two; the log view's also by the user's zoom. The ratio is given as the control's zoom
// (EM_SETZOOM) and read back (EM_GETZOOM): the zoom is documented from rich edit 3.0 and
// the controls run in the 1.0 emulation, so a control that did not take it gets the ratio
// in its text's height instead. UI thread only.
#pragma once
#include <cstdint>

#include "platform/platform.h"

// The user's zoom of the log view, in percent.
inline constexpr int kZoomSmallest = 50;
inline constexpr int kZoomLargest = 400;
inline constexpr int kZoomStep = 10;
inline constexpr int kZoomNormal = 100;

// What one rich edit has been given.
struct TextScale {
    int32_t designTwips = 0;   // its text's height at the ratio 1
    int64_t num = 1, den = 1;  // the ratio, in lowest terms
    bool zoomRefused = false;  // it did not take the zoom: its text's height carries the ratio
};

// Gives the control the ratio num / den. Nothing is sent while it already has that ratio:
// at the ratio 1, as at start, nothing at all.
void ScaleText(WindowRef control, TextScale& scale, int64_t num, int64_t den);
// A height as the control must be given it (scaled only where the zoom was refused), and back.
int32_t ScaledTwips(const TextScale& scale, int32_t twips);
int32_t UnscaledTwips(const TextScale& scale, int32_t twips);

// The log view: at creation and after every change of the window's DPI, with the height
// its text is designed at. The user's zoom stays as it was.
void ScaleLogView(WindowRef view, int32_t designTwips, int windowDpi, int systemDpi);
// Sets the user's zoom, kept between kZoomSmallest and kZoomLargest; false, with nothing
// sent, when that leaves it as it was. It lasts across clears and rebuilds.
bool ZoomLogView(WindowRef view, int percent);
int LogViewZoom();
// The heights the log view's formats are given (the default format at every clear and
// rebuild, the font dialog's choice), and the dialog's reading of one back.
int32_t LogViewTwips(int32_t twips);
int32_t LogViewDesignTwips(int32_t shownTwips);

void ResetLogViewZoom();  // tests
