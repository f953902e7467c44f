// tests/unit/access_test.cpp
// The controls' names for screen readers; high contrast's colours, the view's text kept.
#include "fixture.h"
#include "logview/colours.h"
#include "logview/view_options.h"
#include "sjis.h"
#include "ui/control_names.h"

namespace {
constexpr uint32_t kBlack = Rgb(0, 0, 0), kWhite = Rgb(255, 255, 255), kCyan = Rgb(26, 235, 255);
constexpr uint32_t kNavy = Rgb(0, 0, 51), kDarkRed = Rgb(30, 0, 0), kPink = Rgb(255, 120, 120),
                   kGrey = Rgb(150, 170, 220), kYellow = Rgb(255, 220, 100);
struct ColourCase {
    SystemColours system;
    bool coloured;                       // 色分け
    std::vector<uint32_t> chosen, sent;  // boxes' ground, text, label, its ground; view's ground, each line
};
const ColourCase kColourCases[] = {
    // Without high contrast the monitor's own colours, whatever the system's.
    {{false, kBlack, kWhite, kCyan}, true, {kNavy, kWhite, kDarkRed, kWhite}, {kNavy, kWhite, kPink, kGrey, kYellow}},
    // With it the system's text on its window colour; coloured, errors in its highlight colour
    // unless that is the background.
    {{true, kWhite, kBlack, kCyan}, false, {kWhite, kBlack, kBlack, kWhite}, {kWhite, kBlack, kBlack, kBlack, kBlack}},
    {{true, kBlack, kWhite, kCyan}, true, {kBlack, kWhite, kWhite, kBlack}, {kBlack, kWhite, kCyan, kWhite, kWhite}},
    {{true, kWhite, kBlack, kWhite}, true, {kWhite, kBlack, kBlack, kWhite}, {kWhite, kBlack, kBlack, kBlack, kBlack}},
};
struct Colours : MonitorTest, testing::WithParamInterface<ColourCase> {};
}  // namespace

TEST_P(Colours, ComeFromTheSystemOnlyInHighContrastAndTheViewKeepsItsTextAndSelection) {
    const ColourCase& c = GetParam();
    ASSERT_TRUE(UseColours(ChooseColours({true, kCyan, Rgb(55, 0, 110), kBlack})));  // another theme first
    ColourLines(c.coloured);
    WriteText("line\n"), WriteEntry({"KUMOGATAERR: e\n", 0, EntryKind::Error}), WriteNote("note\n"), InsertMarker();
    SelectRange(&view, 2, 9);
    const std::string text = view.text;
    view.log.clear();
    EXPECT_TRUE(UseColours(ChooseColours(c.system)));
    EXPECT_FALSE(UseColours(ChooseColours(c.system)));  // the same again: nothing is done
    const ColourScheme& s = CurrentColours();
    EXPECT_EQ((std::vector<uint32_t>{s.background, s.text, s.label, s.labelBackground}), c.chosen);
    std::vector<uint32_t> sent;
    for (const RecordedMessage& m : view.log)
        if (m.message == kEmSetBkgndColor || m.message == kEmReplaceSel)
            sent.push_back(m.message == kEmReplaceSel ? m.colour : static_cast<uint32_t>(m.lParam));
    EXPECT_EQ(sent, c.sent);
    EXPECT_EQ(std::make_tuple(view.text, view.selStart, view.selEnd), std::make_tuple(text, size_t{2}, size_t{9}));
}
INSTANTIATE_TEST_SUITE_P(Table, Colours, testing::ValuesIn(kColourCases));

TEST(ControlNames, EachUncaptionedControlIsHandedItsNameForScreenReaders) {
    StandInControl filter, view, line;
    NameControl(&filter, NamedControl::FilterBox), NameControl(&view, NamedControl::LogView);
    NameControl(&line, NamedControl::CommandLine), NameControl(nullptr, NamedControl::CommandLine);  // none: nothing
    EXPECT_EQ(filter.accessibleName + "|" + view.accessibleName + "|" + line.accessibleName,
              RealCp932("絞込《正規表現》|ログ|コマンド"));
}
