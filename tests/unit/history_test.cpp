// tests/unit/history_test.cpp
// The history and the log view: message order to the rich edit, filtering, trim, clear.
#include <chrono>
#include <cstring>

#include "fixture.h"
#include "logview/filter.h"
#include "logview/view_options.h"
#include "sjis.h"

namespace {
std::vector<unsigned> Messages(const StandInControl& c) {
    std::vector<unsigned> out;
    for (const RecordedMessage& r : c.log)
        out.push_back(r.message);
    return out;
}
}  // namespace

using LogView_ = MonitorTest;

TEST_F(LogView_, AppendMovesCaretScrollsByHistorySizeInsertsAndRepaints) {
    WriteText("one\n");
    WriteText("two\n");
    EXPECT_EQ(view.text, "one\ntwo\n");
    ASSERT_EQ(view.log.size(), 10u);
    const RecordedMessage* second = &view.log[5];
    EXPECT_EQ(second[0].message, kWmGetTextLength);
    EXPECT_EQ(second[1].message, kEmSetSel);
    EXPECT_EQ(second[1].wParam, 4u);
    EXPECT_EQ(second[1].lParam, 4);
    EXPECT_EQ(second[2].message, kEmLineScroll);
    EXPECT_EQ(second[2].lParam, 2);  // entries in the history, not lines in the view
    EXPECT_EQ(second[3].message, kEmReplaceSel);
    EXPECT_EQ(second[3].text, "two\n");
    EXPECT_EQ(second[4].message, kRecordedRepaint);
}

TEST_F(LogView_, FilteredOutArrivalIsKeptAndStillMovesCaretAndScrolls) {
    SetFilterText("keep");
    view.text = "typed by the user";
    view.selStart = 0, view.selEnd = 5;  // a selection the user made
    WriteText("drop me\n");
    EXPECT_EQ(view.text, "typed by the user");
    EXPECT_EQ(view.selStart, view.text.size());
    EXPECT_EQ(Messages(view), (std::vector<unsigned>{kWmGetTextLength, kEmSetSel, kEmLineScroll, kRecordedRepaint}));
    WriteText("KEEP this\n");
    EXPECT_EQ(view.text, "typed by the userKEEP this\n");
    EXPECT_EQ(History(), (std::vector<std::string>{"drop me\n", "KEEP this\n"}));
    SetFilterText("");
    ReRender();
    EXPECT_EQ(view.text, "drop me\nKEEP this\n");
}

TEST_F(LogView_, ReRenderRebuildsFromHistoryInOrderInTheDefaultLookAndPaintsItOnce) {
    for (const char* t : {"a1\n", "b1\n", "a2\n", "", "b2\n"})
        HistoryAppend(t);
    view.format.yHeight = 400;  // a font the user chose
    SetFilterText("B");
    ReRender();
    EXPECT_EQ(view.text, "b1\nb2\n");
    EXPECT_EQ(view.format.yHeight, kLogViewHeightTwips);
    // Left redrawing, the rebuilt text on screen, and painted once rather than line by line.
    EXPECT_TRUE(view.redraw);
    EXPECT_FALSE(view.unseenChange);
    EXPECT_EQ(view.paints, 1);

    SetFilterText(".*");  // an empty entry is never shown under a filter
    ReRender();
    EXPECT_EQ(view.text, "a1\nb1\na2\nb2\n");
    SetFilterText("");
    ReRender();
    EXPECT_EQ(view.text, "a1\nb1\na2\nb2\n");
}

TEST_F(LogView_, InvalidPatternEmptiesTheViewButKeepsTheHistory) {
    WriteText("a(b\n");
    SetFilterText("(");
    ReRender();
    EXPECT_EQ(view.text, "");
    WriteText("c(d\n");
    EXPECT_EQ(view.text, "");
    EXPECT_EQ(History().size(), 2u);
    SetFilterText("\\(");
    ReRender();
    EXPECT_EQ(view.text, "a(b\nc(d\n");
}

TEST_F(LogView_, TrimLeavesEightHundredAloneAndCutsEightHundredOneToTheLastTwoHundred) {
    for (int i = 1; i <= 800; ++i)
        HistoryAppend(("line " + std::to_string(i) + "\n").c_str());
    view.log.clear();
    HistoryTrim();
    EXPECT_EQ(History().size(), 800u);
    EXPECT_TRUE(view.log.empty());
    HistoryAppend("line 801\n");
    HistoryTrim();
    ASSERT_EQ(History().size(), 200u);
    EXPECT_EQ(History().front(), "line 602\n");
    EXPECT_EQ(History().back(), "line 801\n");
    EXPECT_EQ(view.text.substr(0, 9), "line 602\n");
    EXPECT_EQ(std::count(view.text.begin(), view.text.end(), '\n'), 200);
}

TEST_F(LogView_, ClearEmptiesViewAndHistoryButKeepsTheFilter) {
    WriteText("x error\n");
    SetFilterText("error");
    view.log.clear();
    ClearLog();
    EXPECT_EQ(Messages(view), (std::vector<unsigned>{kEmSetSel, kWmSetText, kEmSetCharFormat, kRecordedRepaint}));
    EXPECT_EQ(view.text, "");
    EXPECT_TRUE(History().empty());
    EXPECT_EQ(FilterText(), "error");
    WriteText("fine\n");
    WriteText("an ERROR\n");
    EXPECT_EQ(view.text, "an ERROR\n");
}

TEST_F(LogView_, DefaultFormatIsNinePointWhiteGothicAndARefusalIsReported) {
    ASSERT_EQ(ApplyLogViewDefaultFormat(), 1);
    EXPECT_EQ(view.format.cbSize, sizeof(CharFormat));
    EXPECT_EQ(view.format.dwMask, 0xE800000Fu);
    EXPECT_EQ(view.format.yHeight, 180);
    EXPECT_EQ(view.format.crTextColor, 0x00FFFFFFu);
    EXPECT_EQ(view.format.bCharSet, 128);
    EXPECT_STREQ(view.format.szFaceName, kFontFace);
    EXPECT_TRUE(ShownErrors().empty());
    view.setCharFormatAnswer = 0;
    EXPECT_EQ(ApplyLogViewDefaultFormat(), 0);
    WriteText("still rendered\n");
    ReRender();
    EXPECT_EQ(view.text, "still rendered\n");
    EXPECT_EQ(ShownErrors(), (std::vector<std::string>{kCharFormatFailed, kCharFormatFailed}));
}

TEST_F(LogView_, FilterTextKeepsAtMost4095Bytes) {
    std::string longText(5000, 'a');
    SetFilterText(longText.c_str());
    EXPECT_EQ(FilterText().size(), 4095u);
}

TEST_F(LogView_, ReRenderUnderARunawayPatternShowsTheLinesItMatchesAtOnceAndCutsTheRest) {
    // The pattern matches at once where the a's run into the x, and backtracks through
    // about 2^18 retries where a b stands between them. Every search round takes 100 us on
    // the filter's clock here, so the bound cuts those searches after their first round.
    const std::string quick = "aaaax\n", late = std::string(20, 'a') + "bx\n";
    for (int i = 0; i < 4; ++i)
        HistoryAppend((i % 2 ? late : quick).c_str());
    FilterLimitSearchTime(true);
    FilterUseClock([] {
        static std::chrono::steady_clock::time_point now;
        return now += std::chrono::microseconds(100);
    });
    SetFilterText("(?:a|aa)*x");
    ReRender();
    EXPECT_EQ(view.text, quick + quick);
    FilterLimitSearchTime(false);  // unbounded, the pattern does match the other lines
    ReRender();
    EXPECT_EQ(view.text, quick + late + quick + late);
}

TEST_F(LogView_, AfterTeardownAMessageStillHandedOverShowsNoBox) {
    for (int i = 0; i < 801; ++i)
        HistoryAppend("old\n");
    SetLogView(nullptr);  // the window's close has destroyed the view
    Receive("arrives during shutdown and trims\n");
    EXPECT_EQ(History().size(), 201u);
    EXPECT_TRUE(ShownErrors().empty());
}

TEST_F(LogView_, EveryCombinationOfTheChoicesRebuildsTheSameEntriesInItsOwnLook) {
    const int64_t noon = 12 * 3600 * 1000;
    HistoryAppend({"one\n", noon, EntryKind::Line});
    HistoryAppend({"KUMOGATAERR: two\r\n", noon + 250, EntryKind::Error});
    HistoryAppend({"note\n", noon + 1250, EntryKind::Note});
    HistoryAppend({"mark\n", noon + 1250, EntryKind::Marker});
    SetFilterText("o");  // a marker is shown whatever the filter
    const std::string plain = "one\nKUMOGATAERR: two\nnote\nmark\n";
    const std::string timed =
        "12:00:00.000   +0.000 one\n12:00:00.250   +0.250 KUMOGATAERR: two\n"
        "12:00:01.250   +1.000 note\n12:00:01.250   +0.000 mark\n";
    // RGB(255, 255, 255), (255, 120, 120), (150, 170, 220), (255, 220, 100) as the view takes them
    const std::vector<uint32_t> white(4, 0xFFFFFF), coloured{0xFFFFFF, 0x7878FF, 0xDCAA96, 0x64DCFF};
    for (int choices = 0; choices < 8; ++choices) {
        const bool time = choices & 1, colours = choices & 2, wrap = choices & 4;
        ShowTimes(time), ColourLines(colours), WrapLines(wrap);
        view.log.clear(), ReRender();
        std::vector<uint32_t> inserted;
        size_t formats = 0;
        for (const RecordedMessage& r : view.log) {
            if (r.message == kEmReplaceSel) inserted.push_back(r.colour);
            formats += r.message == kEmSetCharFormat;
        }
        EXPECT_EQ(view.text, time ? timed : plain) << choices;
        EXPECT_EQ(inserted, colours ? coloured : white) << choices;
        EXPECT_EQ(formats, colours ? 5u : 1u) << choices;  // the default format, then nothing unless coloured
        EXPECT_EQ(view.wrap, wrap) << choices;
    }
}

TEST_F(LogView_, AMarkerIsShownWhateverTheFilterTrimmedLikeALineButNeitherForwardedNorCounted) {
    PlaceSharedLibrary();
    for (int i = 1; i <= 800; ++i)
        HistoryAppend("hidden\n");
    SetFilterText("shown");
    Monitor().receiving = 0, SetLocalClock(12 * 3600 * 1000 + 34 * 60 * 1000 + 56789);
    InsertMarker(), InsertMarker();  // the 801st entry while reception is stopped, then one trimmed first
    const std::string marker = MarkerText(LocalClockMs());
    EXPECT_EQ(marker, RealCp932("──────── 12:34:56 ────────\n"));
    EXPECT_EQ(History().size(), 201u);  // the first kept among the last 200
    Monitor().receiving = 1;
    Receive("shown\n");
    EXPECT_EQ(view.text, marker + marker + "shown\n");
    EXPECT_EQ(Forwarded(), std::vector<std::string>{"shown\n"});
}
