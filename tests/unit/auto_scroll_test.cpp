// tests/unit/auto_scroll_test.cpp
// Auto-scroll off: arrivals and trims leave the user's place in the view; on again, the
// view goes to its end.
#include "logview/auto_scroll.h"
#include "fixture.h"
#include "logview/view_options.h"

namespace {
std::string Line(int i) {
    return "line " + std::to_string(i) + "\n";
}
std::string TopLine(const StandInControl& v) {
    size_t at = 0;
    for (size_t l = 0; l < v.firstVisible; ++l)
        at = v.text.find('\n', at) + 1;
    return v.text.substr(at, v.text.find('\n', at) + 1 - at);
}
std::string Selected(const StandInControl& v) {
    return v.text.substr(v.selStart, v.selEnd - v.selStart);
}
}  // namespace

using AutoScroll_ = MonitorTest;

TEST_F(AutoScroll_, OffArrivalsAreAppendedUnseenWhileSelectionAndTopLineStayAndOnGoesToTheEnd) {
    for (int i = 1; i <= 30; ++i)
        WriteText(Line(i).c_str());
    view.firstVisible = 5;
    SetAutoScroll(false);
    EXPECT_EQ(view.log.end()[-2].lParam, kEnmSelChange);       // from now on the view tells its selection
    NoteSelectionChange(23, 23), NoteSelectionChange(14, 23);  // the caret, Shift+Up: "line 3\nli" upwards
    view.selStart = 14, view.selEnd = 23, view.backward = true;
    SetFilterText("line");
    view.log.clear();
    WriteText("filtered out\n");  // kept, and not a single message to the view
    EXPECT_TRUE(view.log.empty());
    for (int i = 31; i <= 60; ++i)
        WriteText(Line(i).c_str());
    EXPECT_EQ(view.text.substr(view.text.size() - 8), Line(60));
    EXPECT_EQ(History().size(), 61u);
    EXPECT_EQ(Selected(view), "line 3\nli");
    EXPECT_TRUE(view.backward);        // its anchor and its active end as they were
    EXPECT_EQ(view.firstVisible, 5u);  // though the caret is out of sight once redraw is on
    EXPECT_FALSE(view.unseenChange);   // painted, with the user's place back in it
    // The time's prefix on every line, the colours, and the prefix gone again: the same place.
    for (auto toggle : {+[] { ShowTimes(true); }, +[] { ColourLines(true); }, +[] { ShowTimes(false); }}) {
        toggle();
        EXPECT_EQ(TopLine(view).substr(CurrentViewOptions().showTime ? kTimePrefixLength : 0), Line(6));
        EXPECT_EQ(Selected(view).substr(0, 7), "line 3\n");
        EXPECT_TRUE(view.backward);
    }
    EXPECT_EQ(Selected(view), "line 3\nli");
    SetAutoScroll(true);
    EXPECT_EQ(view.selStart, view.text.size());
    EXPECT_EQ(view.firstVisible, 51u);  // the last page: 61 lines, 10 shown
}

TEST_F(AutoScroll_, OffATrimKeepsTheTopTextAndSelectionWhileKeptElseShowsTheOldestKeptLine) {
    view.record = false;
    for (int i = 1; i <= 801; ++i)
        WriteText(Line(i).c_str());
    SetAutoScroll(false);
    view.firstVisible = 700;
    view.selStart = view.text.find("line 705\n") + 2, view.selEnd = view.text.find("line 706\n") + 3;
    NoteSelectionChange(view.selEnd, view.selEnd), NoteSelectionChange(view.selStart, view.selEnd);
    const std::string selected = Selected(view);
    HistoryTrim();  // keeps lines 602 to 801
    EXPECT_EQ(TopLine(view), Line(701));
    EXPECT_EQ(Selected(view), selected);
    EXPECT_TRUE(view.backward);
    view.firstVisible = 50;  // line 652, which the next trim drops, with the selection
    view.selStart = 3, view.selEnd = 9;
    for (int i = 802; i <= 1402; ++i)
        WriteText(Line(i).c_str());
    HistoryTrim();  // keeps lines 1203 to 1402
    EXPECT_EQ(TopLine(view), Line(1203));
    EXPECT_EQ(view.firstVisible + view.selStart + view.selEnd, 0u);
}

TEST_F(AutoScroll_, OffTenThousandArrivalsLoseNothingAndTheViewStaysBounded) {
    view.record = false;
    PlaceSharedLibrary();
    SetAutoScroll(false);
    for (int i = 1; i <= 10000; ++i) {
        Monitor().headerNeeded = 0;  // one writer: no header lines on the test's output
        ProcessMessage({kHostPid, Line(i).c_str(), true});
    }
    ASSERT_EQ(Forwarded().size(), 10000u);
    EXPECT_EQ(Forwarded().back(), Line(10000));
    std::string kept;
    for (const Entry& entry : History())
        kept += entry.text;
    EXPECT_LE(History().size(), 801u);
    EXPECT_EQ(view.text, kept);
}
