// tests/unit/zoom_test.cpp
// The log view's text scale, the window's DPI over the system's (96 here) times the user's zoom: the
// control's zoom, read back; where the control refuses it, its text's height, which every rebuild keeps.
#include "logview/zoom.h"
#include "fixture.h"

namespace {
struct ZoomCase {
    bool takesZoom;
    int dpi;                   // the window's at creation
    const char* keys;          // '+' and '-' a step of 10 % each, '0' back to 100 %
    int movedTo;               // then a move to a monitor of this DPI; 0: none
    int percent;               // the zoom then
    int32_t zoomNum, zoomDen;  // as the control reports it; 0 / 0: none
    int32_t twips;             // the default format's height at every rebuild
};
const ZoomCase kCases[] = {
    {true, 96, "", 0, 100, 0, 0, 180},  // nothing is sent at all
    {true, 144, "", 0, 100, 3, 2, 180},
    {true, 96, "++", 0, 120, 6, 5, 180},
    {true, 96, "++0", 0, 100, 1, 1, 180},
    {true, 96, "------", 0, 50, 1, 2, 180},                            // the sixth step does nothing
    {true, 96, "+++++++++++++++++++++++++++++++", 0, 400, 4, 1, 180},  // nor does the 31st
    {true, 96, "++", 192, 120, 12, 5, 180},
    {false, 144, "", 0, 100, 0, 0, 270},
    {false, 120, "+", 0, 110, 0, 0, 248},  // 247.5 twips
    {false, 96, "+", 192, 110, 0, 0, 396},
    {false, 192, "-0", 0, 100, 0, 0, 360},
};
}  // namespace

using Zoom_ = MonitorTest;

TEST_F(Zoom_, TheViewShowsTheDpiTimesTheUsersZoomAsItsZoomOrElseInItsTextsHeight) {
    for (const ZoomCase& c : kCases) {
        SCOPED_TRACE(testing::Message() << c.takesZoom << " " << c.dpi << " " << c.keys << " " << c.movedTo);
        ResetLogViewZoom();
        view = StandInControl{};
        view.takesZoom = c.takesZoom;
        ScaleLogView(&view, kLogViewHeightTwips, c.dpi, 96);
        for (const char* key = c.keys; *key; ++key) {
            const int before = LogViewZoom();
            const size_t sent = view.log.size();
            const int wanted = *key == '0' ? kZoomNormal : before + (*key == '+' ? kZoomStep : -kZoomStep);
            const bool changed = ZoomLogView(&view, wanted);
            EXPECT_EQ(changed, LogViewZoom() != before);
            EXPECT_EQ(view.log.size() == sent, !changed);  // a key that changes nothing sends nothing
        }
        if (c.movedTo) ScaleLogView(&view, kLogViewHeightTwips, c.movedTo, 96);
        EXPECT_EQ(view.log.empty(), c.dpi == 96 && !*c.keys);  // nothing at all sent at 96 DPI and 100 %
        EXPECT_EQ(LogViewZoom(), c.percent);
        EXPECT_EQ(std::make_pair(view.zoomNum, view.zoomDen), std::make_pair(c.zoomNum, c.zoomDen));
        EXPECT_EQ(view.format.yHeight, c.takesZoom ? 0 : c.twips);  // the text there already
        ReRender();
        EXPECT_EQ(view.format.yHeight, c.twips);
        EXPECT_EQ(LogViewDesignTwips(c.twips), kLogViewHeightTwips) << "the font dialog's 9 points";
    }
}
