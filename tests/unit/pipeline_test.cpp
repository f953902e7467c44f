// tests/unit/pipeline_test.cpp
// One message's road: restart marker, line assembly, rewriting, conversion, the display
// gate, the header line, output and forwarding.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <tuple>

#include <unistd.h>

#include "capture/library_note.h"
#include "fixture.h"

using Pipeline = MonitorTest;

TEST_F(Pipeline, RestartMarkerGivesOneNoticePerRunFromAnyWriterEvenWhileStopped) {
    Monitor().receiving = 0;
    Receive("xxxxxxxxxx\n", false, 7);
    Receive("xxxxxxxxxx\n", true);
    Receive("xxxxxxxxxx\n", true);
    EXPECT_EQ(view.text, kRestartNotice);
    EXPECT_EQ(History(), std::vector<std::string>{kRestartNotice});
    EXPECT_EQ(History()[0].kind, EntryKind::Note);
    // The notice goes to the view before the history: its scroll still counts 0 entries.
    EXPECT_EQ(view.log[2].message, kEmLineScroll);
    EXPECT_EQ(view.log[2].lParam, 0);
    Monitor().receiving = 1;
    Receive("other\n");
    Receive("xxxxxxxxxx\n");
    EXPECT_EQ(History(), (std::vector<std::string>{kRestartNotice, "other\n", kRestartNotice}));
    PlaceSharedLibrary();
    Receive("xxxxxxxxxx\n");
    EXPECT_TRUE(Forwarded().empty());
}

TEST_F(Pipeline, RestartNoticesFromAnotherProcessCannotGrowTheHistoryPastItsTrim) {
    view.record = false;
    for (int i = 0; i < 1000; ++i) {
        Receive("xxxxxxxxxx\n", false, 7);
        Receive("not shown\n", false, 7);
    }
    EXPECT_LE(History().size(), 801u);
    std::string shown;
    for (const Entry& entry : History())
        shown += entry.text;
    EXPECT_EQ(view.text, shown);
}

TEST_F(Pipeline, NearMarkersAreOrdinaryText) {
    Receive("xxxxxxxxxx");
    Receive("\n");
    Receive("xxxxxxxxxx\n\n");
    Receive(" xxxxxxxxxx\n");
    EXPECT_EQ(History(), (std::vector<std::string>{"xxxxxxxxxx\n", "xxxxxxxxxx\n\n", " xxxxxxxxxx\n"}));
}

TEST_F(Pipeline, MarkerCompletesPendingFragmentsAndThrowsThemAway) {
    Receive("half a line");
    Receive("xxxxxxxxxx\n");
    EXPECT_EQ(History(), std::vector<std::string>{kRestartNotice});
    Receive("next\n");
    EXPECT_EQ(History().back(), "next\n");
}

TEST_F(Pipeline, FragmentsJoinAcrossMessagesAndWriters) {
    Receive("abc");
    EXPECT_TRUE(History().empty());
    Receive("def\n");
    Receive("from other ", false, 99);
    Receive("host ends it\n");
    Receive("a\nb");
    EXPECT_EQ(History(), (std::vector<std::string>{"abcdef\n", "from other host ends it\n", "a\nb"}));
    Receive("mine\n", false, 99);  // a completing message from another writer is not shown
    EXPECT_EQ(History().size(), 3u);
}

TEST_F(Pipeline, KeywordIsReplacedOnceAnywhere) {
    Receive("showvars showvars\n");
    Receive("xshowvarsx\n");
    EXPECT_EQ(History()[0], std::string(kKeywordLabel) + " showvars\n");
    EXPECT_EQ(History()[1], "x" + std::string(kKeywordLabel) + "x\n");
}

TEST_F(Pipeline, DialogNoiseAndOtherWritersAndStoppedReceptionShowNothing) {
    PlaceSharedLibrary();
    Receive("C:\\x\\shell\\comdlg32\\fileopensave.cpp(123): noise\n");
    Receive("not the host\n", false, 5);
    Monitor().receiving = 0;
    Receive("while stopped\n");
    EXPECT_TRUE(History().empty());
    EXPECT_TRUE(Forwarded().empty());
}

TEST_F(Pipeline, Utf8LineIsConvertedBeforeFloodControlAndOutput) {
    PlaceSharedLibrary();
    Receive("\xE3\x81\x82 utf8\n");
    EXPECT_EQ(History().back(), "\x82\xA0 utf8\n");
    EXPECT_EQ(Forwarded().back(), "\x82\xA0 utf8\n");
    for (uint32_t t = 0; t <= 3100; t += 100)
        At(10000 + t), Receive("\xE3\x81\x82 utf8\n");
    EXPECT_EQ(Capture().flood.repeatCounters.count("\x82\xA0 utf8\n"), 1u);  // keyed converted
}

TEST_F(Pipeline, ALineOver511BytesKeepsWholeCharactersIn510AndItsLineEndEverywhere) {
    PlaceSharedLibrary();
    std::string line(600, 'y');
    line += "\n";
    using S = std::string;  // \x89\x89 is one double-byte character, \xB1 (ｱ) a single-byte one
    const std::tuple<S, S, int> rows[] = {
        {S(509, 'y') + "\n", S(509, 'y') + "\n", 0},  // 510 and 511 bytes: whole
        {S(510, 'y') + "\n", S(510, 'y') + "\n", 0},
        {S(511, 'y') + "\n", S(510, 'y') + "\n", 0},  // 512 and 600: cut
        {S(599, 'y') + "\n", S(510, 'y') + "\n", 0},
        {S(510, '\x89') + "\n", S(510, '\x89') + "\n", 0},
        {S(510, '\x89') + "y\n", S(510, '\x89') + "\n", 0},
        {"y" + S(510, '\x89') + "\n", "y" + S(508, '\x89') + "\n", 0},  // its last character straddles byte 510
        {"y" + S(598, '\x89') + "\n", "y" + S(508, '\x89') + "\n", 0},
        {S(511, '\xB1') + "\n", S(510, '\xB1') + "\n", 0},
        {S(509, 'y') + "\nzz\n", S(509, 'y') + "\n", 0},  // cut right after a line end: no second one
        {S(497, 'y') + kErrorPrefix + "more\n", S(497, 'y') + kErrorPrefix + "\n", 1},  // counted if kept
        {S(498, 'y') + kErrorPrefix + "more\n", S(498, 'y') + "KUMOGATAERR:\n", 0},
    };
    for (const auto& [text, kept, counted] : rows) {
        const size_t shown = view.text.size();
        const int32_t errors = Monitor().errorCount.load();
        Receive(text.c_str());
        const std::vector<std::string> got{History().back().text, view.text.substr(shown), Forwarded().back()};
        EXPECT_EQ(got, std::vector<std::string>(3, kept)) << text.size();
        EXPECT_EQ(Monitor().errorCount.load() - errors, counted) << text.size();
    }
    for (uint32_t t = 0; t <= 3100; t += 100)
        At(10000 + t), Receive(line.c_str());
    EXPECT_EQ(Capture().flood.repeatCounters.count(line), 1u);  // keyed on the whole text
}

TEST_F(Pipeline, HeaderLineIsPrintedWhenDueAndOnlyForGatedLines) {
    char path[] = "/tmp/kg-header-XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    fflush(stdout);
    FILE* saved = fdopen(dup(fileno(stdout)), "w");
    ASSERT_TRUE(freopen(path, "w", stdout));
    Receive("first\n", true, 7);
    Receive("frag", true, 7);
    Receive("ment\n", true, 7);  // after a fragment: not due
    Receive("next\n", true, 7);  // after a line end: due
    Receive("stranger\n", false, 8);
    Monitor().receiving = 0;
    Receive("stopped\n", true, 7);
    fflush(stdout);
    dup2(fileno(saved), fileno(stdout));
    fclose(saved);
    FILE* f = fopen(path, "rb");
    char buf[1024] = {};
    const size_t n = fread(buf, 1, sizeof buf - 1, f);
    fclose(f);
    close(fd);
    unlink(path);
    std::string header(kHeaderFormat);
    header.replace(header.find("%3u"), 3, "  7");
    EXPECT_EQ(std::string(buf, n), header + header);
}

TEST_F(Pipeline, PendingTextIsBoundedByCompletingTheLine) {
    const std::string chunk(4000, 'p');
    size_t sent = 0;
    while (sent + chunk.size() <= kPendingTextLimit) {
        Receive(chunk.c_str());
        sent += chunk.size();
    }
    EXPECT_TRUE(History().empty());
    EXPECT_EQ(Monitor().pendingText.size(), sent);
    Receive(chunk.c_str());  // would pass the bound: the line is completed with it
    EXPECT_TRUE(Monitor().pendingText.empty());
    ASSERT_EQ(History().size(), 1u);
    EXPECT_EQ(History()[0], std::string(510, 'p') + "\n");
    Receive("after\n");
    EXPECT_EQ(History().back(), "after\n");
}

TEST_F(Pipeline, ForwardingFollowsTheLibraryAsItComesAndGoes) {
    Receive("no library yet\n");
    EXPECT_EQ(LoadAttempts(), 1);
    StandInLibrary noExport;
    PlaceLibrary(kSharedLibraryPath, &noExport);
    Receive("library without export\n");
    Receive("again\n");
    EXPECT_EQ(LoadAttempts(), 2);   // loaded once and kept
    EXPECT_EQ(ExportLookups(), 2);  // looked up every time
    noExport.exports["SetSharedMessage"] = reinterpret_cast<void*>(&RecordForwarded);
    Receive("now it is there\n");
    EXPECT_EQ(Forwarded(), std::vector<std::string>{"now it is there\n"});
}

TEST_F(Pipeline, ALibraryThereThatCannotLoadIsToldOnceAfterItsLineWithTheReasonAndWhatToDo) {
    // The start of a Windows image built for machine: its DOS header pointing at "PE\0\0".
    auto ImageFor = [](uint16_t machine, char header = '\x80') {
        std::string b = "MZ" + std::string(0x3A, '\0') + header + std::string(0x49, '\0');
        return b.replace(0x80, 6, {'P', 'E', 0, 0, static_cast<char>(machine & 0xFF), static_cast<char>(machine >> 8)});
    };
    auto Note = [](uint32_t error, const char* advice) {
        char note[1024];
        const std::string reason = kSharedLibraryPath + (": reason " + std::to_string(error)) + ".";
        std::snprintf(note, sizeof note, kLibraryNoteFormat, reason.c_str(), error, advice);
        return std::string(note);
    };
    const std::string x86 = ImageFor(kMachineI386), x64 = ImageFor(kMachineAmd64), far = ImageFor(0x8664, '\x8C');
    // What lies at the path (nothing for error 0), its load error, the advice told (none: not told).
    const std::tuple<std::string, uint32_t, const char*> steps[] = {
        {x86, 193, kLibraryIs32Bit},
        {x86, 193, nullptr},  // the same failure again
        {ImageFor(0xAA64), 193, kLibraryOtherMachine},
        {x64, 126, kLibraryNeedsMore},
        {x64, 127, kLibraryNeedsMore},
        {"", 1006, kLibraryEmpty},
        {far, 193, kLibraryNotAnImage},  // "PE" past the bytes read
        {x64, 1114, kLibraryReinstall},
        {"", 0, nullptr},
        {x64, 1114, kLibraryReinstall},  // gone, then back: told again
    };
    for (const auto& [bytes, error, advice] : steps) {
        StandInLibrary file{{}, bytes, error};
        PlaceLibrary(kSharedLibraryPath, error ? &file : nullptr);
        const size_t before = History().size();
        Receive("line\n");
        std::vector<std::string> expected{"line\n"};
        if (advice) expected.push_back(Note(error, advice));
        EXPECT_EQ(std::vector<Entry>(History().begin() + before, History().end()), expected) << error;
    }
    EXPECT_EQ(LibraryLoadNote(193, {true, 90, x64}, kMachineI386, SystemErrorText(193)), Note(193, kLibraryIs64Bit));
    EXPECT_EQ(LibraryLoadNote(5, {true, 90, ""}, kMachineI386, SystemErrorText(5)), Note(5, kLibraryReinstall));
}

TEST_F(Pipeline, HostIsAnImageNamedForTheEditorInAnyCaseWhileTheEditorsWindowExists) {
    SetProcessImage(1, "\\Device\\HarddiskVolume2\\Program Files\\Kumogata\\KUMOGATA.EXE");
    SetProcessImage(2, "\\Device\\HarddiskVolume2\\tools\\kumogata.exe\\w.exe");  // a folder of that name
    SetProcessImage(3, "\\Device\\HarddiskVolume2\\tools\\kumogata.ex");
    // Process 4 cannot be opened.
    EXPECT_TRUE(IsHostProcess(1));
    EXPECT_TRUE(IsHostProcess(2));
    EXPECT_FALSE(IsHostProcess(3));
    EXPECT_FALSE(IsHostProcess(4));
    // The limited query right only: an editor running elevated, or in another session,
    // can still be named by a monitor that runs as a normal user.
    EXPECT_EQ(LastProcessAccess(), 0x1000u);
    SetHostWindow(false);
    EXPECT_FALSE(IsHostProcess(1));
}

TEST(ChannelView, ReadsOnlyWhatIsCommittedAndNeverMoreThanTheTextField) {
    for (auto [readable, capacity] :
         {std::pair<size_t, size_t>{0, 0}, {4, 0}, {5, 1}, {1000, 996}, {4096, 4092}, {8192, 4092}}) {
        SetReadableBytes(readable);
        EXPECT_EQ(ChannelTextCapacity(nullptr), capacity) << readable;
    }
    SetReadableBytes(4096);
}
