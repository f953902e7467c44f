// src/ui/controls.cpp
#include "ui/controls.h"

#include <richedit.h>

#include <algorithm>

#include "capture/state.h"
#include "logview/history.h"
#include "texts.h"
#include "ui/command_line.h"
#include "ui/ui_state.h"

namespace {
constexpr DWORD kLogViewStyle = 0x50B000C4;  // child, visible, border, both scroll bars, multi-line, auto-scroll
constexpr DWORD kButtonStyle = 0x50000000;
constexpr COLORREF kViewBackground = RGB(0, 0, 51);
constexpr COLORREF kLabelColour = RGB(30, 0, 0);
constexpr LPARAM kLogViewTextLimit = 10485760;
constexpr int32_t kOneLineHeightTwips = 200;
// The command line's row: 22 high, 5 from the bottom, right of a label as wide as its
// ten bytes in the label font.
constexpr int kCommandRowHeight = 22;
constexpr int kCommandRowMargin = 5;
constexpr int kCommandLabelWidth = 75;

SIZE ClientSize(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

// Both buttons and the label: each its own font object from this one description.
HFONT CreateControlFont() {
    return CreateFontA(14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, PROOF_QUALITY, FIXED_PITCH | FF_MODERN, kFontFace);
}

HWND CreateButton(HWND parent, const char* caption, int x, int width, int id, HFONT* font) {
    HWND button = CreateWindowExA(0, "BUTTON", caption, kButtonStyle, x, 10, width, 21, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Ui().instance, nullptr);
    *font = CreateControlFont();
    SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(*font), 0);
    return button;
}
}  // namespace

HWND CreateLogView(HWND parent) {
    const SIZE client = ClientSize(parent);
    Ui().logViewRichEdit = LoadRichEditLibrary();
    HWND view = CreateWindowExA(WS_EX_CLIENTEDGE, "RICHEDIT", "", kLogViewStyle, 5, 40, std::max(0L, client.cx - 10),
                                std::max(0L, client.cy - 45), parent, reinterpret_cast<HMENU>(kRichEditId),
                                Ui().instance, nullptr);
    SetLogView(view);
    SendMessageA(view, EM_SETBKGNDCOLOR, 0, kViewBackground);
    ApplyLogViewDefaultFormat();
    // Also the control's default format: some rich edits give text typed after a line end
    // the default (black on our dark blue) rather than the insertion point's format.
    CharFormat format = MakeDefaultCharFormat(kLogViewHeightTwips);
    SendMessageA(view, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    SendMessageA(view, EM_EXLIMITTEXT, 0, kLogViewTextLimit);
    return view;
}

HWND CreateFilterBox(HWND parent) {
    const SIZE client = ClientSize(parent);
    Ui().filterBoxRichEdit = LoadRichEditLibrary();
    HWND box = CreateWindowExA(WS_EX_CLIENTEDGE, "RICHEDIT", "", kOneLineRichEditStyle, client.cx - 155, 10, 150, 22,
                               parent, reinterpret_cast<HMENU>(kRichEditId), Ui().instance, nullptr);
    Ui().filterBox = box;
    const LRESULT mask = SendMessageA(box, EM_GETEVENTMASK, 0, 0);
    SendMessageA(box, EM_SETEVENTMASK, 0, mask | ENM_UPDATE);
    SetOneLineLook(box);
    return box;
}

void SetOneLineLook(HWND control) {
    SendMessageA(control, EM_SETBKGNDCOLOR, 0, kViewBackground);
    ApplyDefaultFormat(control, kOneLineHeightTwips);
}

HMODULE LoadRichEditLibrary() {
    return LoadLibraryExA("RICHED32.DLL", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

void ReleaseRichEditLibrary(HMODULE library) {
    if (!FreeLibrary(library)) MessageBoxA(nullptr, kLibraryReleaseFailed, kErrorCaption, MB_OK);
}

CommandLinePlace CommandLinePlacement(HWND window) {
    const SIZE client = ClientSize(window);
    const int x = kCommandRowMargin + kCommandLabelWidth;
    return {x, std::max(0, int(client.cy) - kCommandRowMargin - kCommandRowHeight),
            std::max(0, int(client.cx) - kCommandRowMargin - x), kCommandRowHeight};
}

HWND CreateStopResumeButton(HWND parent) {
    HWND button = CreateButton(parent, kCaptionStop, 5, 80, kStopResumeButtonId, &Ui().stopButtonFont);
    Monitor().stopButton = button;
    return button;
}

HWND CreateClearButton(HWND parent) {
    Ui().clearButton = CreateButton(parent, kCaptionClear, 95, 50, kClearButtonId, &Ui().clearButtonFont);
    return Ui().clearButton;
}

void PaintFilterLabel(HWND window) {
    const SIZE client = ClientSize(window);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    if (!Ui().labelFont) Ui().labelFont = CreateControlFont();
    SelectObject(dc, Ui().labelFont);
    SetTextColor(dc, kLabelColour);
    TextOutA(dc, client.cx - 285, 13, kFilterLabel, sizeof kFilterLabel - 1);
    if (CommandLineShown()) {
        const CommandLinePlace place = CommandLinePlacement(window);
        TextOutA(dc, kCommandRowMargin, place.y + 3, kCommandLabel, sizeof kCommandLabel - 1);
    }
    EndPaint(window, &ps);
}

void LayOutControls(HWND window) {
    SIZE client = ClientSize(window);
    MoveWindow(Ui().filterBox, client.cx - 155, 10, 150, 22, FALSE);
    InvalidateRect(Ui().filterBox, nullptr, TRUE);
    LONG viewBottomMargin = 45;
    if (CommandLineShown()) {
        const CommandLinePlace place = CommandLinePlacement(window);
        MoveWindow(Ui().commandLine, place.x, place.y, place.width, place.height, FALSE);
        InvalidateRect(Ui().commandLine, nullptr, TRUE);
        viewBottomMargin += kCommandRowHeight + kCommandRowMargin;
    }
    client = ClientSize(window);
    // A client area smaller than the margins gives an empty view, not a negative size.
    MoveWindow(static_cast<HWND>(LogView()), 5, 40, std::max(0L, client.cx - 10),
               std::max(0L, client.cy - viewBottomMargin), FALSE);
}
