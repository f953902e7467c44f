// tests/wine/font_test.cpp
// The font command end to end: the real dialog over a rich edit of the test's own, driven
// from a second thread as a user would (face, size, effects, then OK or Cancel).
#include <gtest/gtest.h>
#include <windows.h>

#include <dlgs.h>
#include <richedit.h>

#include <cstring>
#include <string>
#include <thread>

#include "logview/log_view.h"
#include "ui/font_dialog.h"

namespace {
constexpr const char* kIpaGothic = "IPA\x83\x53\x83\x56\x83\x62\x83\x4E";  // IPAゴシック, a Japanese face Wine lists

std::string Text(HWND w) {
    char buf[256] = {};
    GetWindowTextA(w, buf, sizeof buf);
    return buf;
}

BOOL CALLBACK TakeDialog(HWND w, LPARAM out) {
    char cls[16] = {};
    GetClassNameA(w, cls, sizeof cls);
    if (std::strcmp(cls, "#32770") != 0 || !IsWindowVisible(w)) return TRUE;
    *reinterpret_cast<HWND*>(out) = w;
    return FALSE;
}

// The font dialog once this thread's modal loop shows it; null after 20 s without it.
HWND WaitForDialog(DWORD thread) {
    for (int i = 0; i < 2000; ++i) {
        HWND found = nullptr;
        EnumThreadWindows(thread, TakeDialog, reinterpret_cast<LPARAM>(&found));
        if (found) return found;
        Sleep(10);
    }
    return nullptr;
}

// Selects an entry of one of the dialog's lists and tells the dialog, as a click does.
void Pick(HWND dialog, int list, WPARAM index) {
    SendDlgItemMessageA(dialog, list, CB_SETCURSEL, index, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(list, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, list)));
}
void Pick(HWND dialog, int list, const char* entry) {
    Pick(dialog, list, SendDlgItemMessageA(dialog, list, CB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(entry)));
}

struct FontDialog : ::testing::Test {
    HWND parent = nullptr;
    HWND view = nullptr;
    void SetUp() override {
        ASSERT_TRUE(LoadLibraryA("RICHED32.DLL"));
        parent =
            CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
        view = CreateWindowExA(0, "RICHEDIT", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 300, 200, parent, nullptr,
                               nullptr, nullptr);
        ASSERT_TRUE(parent && view);
        SetLogView(view);
        SetWindowTextA(view, "some text\r\n");
        SendMessageA(view, EM_SETSEL, 0, -1);
        ASSERT_EQ(ApplyLogViewDefaultFormat(), 1);
    }
    void TearDown() override {
        SetLogView(nullptr);
        DestroyWindow(parent);
    }
    CHARFORMATA Selection() const {
        CHARFORMATA f{};
        f.cbSize = sizeof f;
        SendMessageA(view, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&f));
        return f;
    }
};
}  // namespace

// The selection's font as the user left it with an earlier choice: Tahoma, 11 point, underlined.
TEST_F(FontDialog, OpensOnTheSelectionsFontAndAppliesTheChosenFaceSizeAndEffectsToIt) {
    CHARFORMATA earlier = Selection();
    earlier.dwMask = CFM_FACE | CFM_SIZE | CFM_UNDERLINE;
    earlier.yHeight = 220;
    earlier.dwEffects = CFE_UNDERLINE;
    std::strcpy(earlier.szFaceName, "Tahoma");
    ASSERT_TRUE(SendMessageA(view, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&earlier)));

    const DWORD self = GetCurrentThreadId();
    std::string face, size;
    bool underlined = false, struckOut = true;
    std::thread user([&] {
        HWND d = WaitForDialog(self);
        if (!d) return;
        face = Text(GetDlgItem(d, cmb1)), size = Text(GetDlgItem(d, cmb3));
        underlined = IsDlgButtonChecked(d, chx2), struckOut = IsDlgButtonChecked(d, chx1);
        Pick(d, cmb1, kIpaGothic);
        Pick(d, cmb3, "12");
        Pick(d, cmb2, 2);  // regular, italic, bold, bold italic
        SendDlgItemMessageA(d, chx1, BM_CLICK, 0, 0);
        SendDlgItemMessageA(d, IDOK, BM_CLICK, 0, 0);
    });
    EXPECT_EQ(ChooseLogViewFont(), 1);
    user.join();
    EXPECT_EQ(face, "Tahoma");
    EXPECT_EQ(size, "11");
    EXPECT_TRUE(underlined);
    EXPECT_FALSE(struckOut);

    const CHARFORMATA chosen = Selection();
    EXPECT_STREQ(chosen.szFaceName, kIpaGothic);
    EXPECT_EQ(chosen.yHeight, 12 * 20);
    EXPECT_EQ(chosen.dwEffects & (CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_STRIKEOUT),
              static_cast<DWORD>(CFE_BOLD | CFE_UNDERLINE | CFE_STRIKEOUT));
    EXPECT_EQ(GetFocus(), view);
}

TEST_F(FontDialog, CancelChangesNothing) {
    const CHARFORMATA before = Selection();
    const DWORD self = GetCurrentThreadId();
    bool opened = false;
    std::thread user([&] {
        HWND d = WaitForDialog(self);
        if (!(opened = d != nullptr)) return;
        Pick(d, cmb1, "Tahoma");
        Pick(d, cmb3, "20");
        SendDlgItemMessageA(d, chx2, BM_CLICK, 0, 0);
        SendDlgItemMessageA(d, IDCANCEL, BM_CLICK, 0, 0);
    });
    EXPECT_EQ(ChooseLogViewFont(), 1);
    user.join();
    EXPECT_TRUE(opened);
    const CHARFORMATA after = Selection();
    EXPECT_STREQ(after.szFaceName, before.szFaceName);
    EXPECT_EQ(after.yHeight, before.yHeight);
    EXPECT_EQ(after.dwEffects, before.dwEffects);
    EXPECT_EQ(after.crTextColor, before.crTextColor);
    EXPECT_EQ(GetFocus(), view);
}
