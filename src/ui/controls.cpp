// src/ui/controls.cpp
#include "ui/controls.h"

#include <richedit.h>

#include "capture/state.h"
#include "logview/log_view.h"
#include "texts.h"
#include "ui/dpi.h"
#include "ui/ui_state.h"

namespace {
constexpr DWORD kLogViewStyle = 0x50B000C4;  // child, visible, border, both scroll bars, multi-line, auto-scroll
constexpr DWORD kButtonStyle = 0x50000000;
constexpr COLORREF kViewBackground = RGB(0, 0, 51);
constexpr COLORREF kLabelColour = RGB(30, 0, 0);
constexpr LPARAM kLogViewTextLimit = 10485760;
constexpr int32_t kOneLineHeightTwips = 200;

// Both buttons and the labels: each its own font object from this one description, 14
// pixels high at 96 DPI.
HFONT CreateControlFont(const WindowLayout& layout) {
    return CreateFontA(layout.fontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, PROOF_QUALITY, FIXED_PITCH | FF_MODERN, kFontFace);
}

HWND CreateButton(HWND parent, const char* caption, const Box& at, int id, HFONT* font) {
    HWND button = CreateWindowExA(0, "BUTTON", caption, kButtonStyle, at.x, at.y, at.width, at.height, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Ui().instance, nullptr);
    *font = CreateControlFont(LayoutOf(parent));
    SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(*font), 0);
    return button;
}

void MoveTo(HWND control, const Box& at, BOOL repaint) {
    MoveWindow(control, at.x, at.y, at.width, at.height, repaint);
}

// A button's font made anew for the window's DPI; the old one goes once it is replaced.
void RefreshFont(HWND control, HFONT* font, const WindowLayout& layout) {
    HFONT fresh = CreateControlFont(layout);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(fresh), TRUE);
    DeleteObject(*font);
    *font = fresh;
}
}  // namespace

HWND CreateLogView(HWND parent) {
    const Box at = LayoutOf(parent).logView;
    Ui().logViewRichEdit = LoadRichEditLibrary();
    HWND view = CreateWindowExA(WS_EX_CLIENTEDGE, "RICHEDIT", "", kLogViewStyle, at.x, at.y, at.width, at.height,
                                parent, reinterpret_cast<HMENU>(kRichEditId), Ui().instance, nullptr);
    SetLogView(view);
    SendMessageA(view, EM_SETBKGNDCOLOR, 0, kViewBackground);
    ApplyLogViewDefaultFormat();
    // Also the control's default format: some rich edits give text typed after a line end
    // the default (black on our dark blue) rather than the insertion point's format.
    CharFormat format = MakeDefaultCharFormat(kLogViewHeightTwips);
    SendMessageA(view, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    SendMessageA(view, EM_EXLIMITTEXT, 0, kLogViewTextLimit);
    ZoomToWindowDpi(view);
    return view;
}

HWND CreateFilterBox(HWND parent) {
    const Box at = LayoutOf(parent).filterBox;
    Ui().filterBoxRichEdit = LoadRichEditLibrary();
    HWND box = CreateWindowExA(WS_EX_CLIENTEDGE, "RICHEDIT", "", kOneLineRichEditStyle, at.x, at.y, at.width, at.height,
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
    ZoomToWindowDpi(control);
}

HMODULE LoadRichEditLibrary() {
    return LoadLibraryExA("RICHED32.DLL", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

void ReleaseRichEditLibrary(HMODULE library) {
    if (!FreeLibrary(library)) MessageBoxA(nullptr, kLibraryReleaseFailed, kErrorCaption, MB_OK);
}

HWND CreateStopResumeButton(HWND parent) {
    HWND button =
        CreateButton(parent, kCaptionStop, LayoutOf(parent).stopButton, kStopResumeButtonId, &Ui().stopButtonFont);
    Monitor().stopButton = button;
    return button;
}

HWND CreateClearButton(HWND parent) {
    Ui().clearButton =
        CreateButton(parent, kCaptionClear, LayoutOf(parent).clearButton, kClearButtonId, &Ui().clearButtonFont);
    return Ui().clearButton;
}

void PaintFilterLabel(HWND window) {
    const WindowLayout layout = LayoutOf(window);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    if (!Ui().labelFont) Ui().labelFont = CreateControlFont(layout);
    SelectObject(dc, Ui().labelFont);
    SetTextColor(dc, kLabelColour);
    TextOutA(dc, layout.filterLabel.x, layout.filterLabel.y, kFilterLabel, sizeof kFilterLabel - 1);
    if (layout.commandLineShown) {
        TextOutA(dc, layout.commandLabel.x, layout.commandLabel.y, kCommandLabel, sizeof kCommandLabel - 1);
    }
    EndPaint(window, &ps);
}

void LayOutControls(HWND window) {
    WindowLayout layout = LayoutOf(window);
    MoveTo(Ui().filterBox, layout.filterBox, FALSE);
    InvalidateRect(Ui().filterBox, nullptr, TRUE);
    if (layout.commandLineShown) {
        MoveTo(Ui().commandLine, layout.commandLine, FALSE);
        InvalidateRect(Ui().commandLine, nullptr, TRUE);
    }
    layout = LayoutOf(window);  // the client area read again for the log view, as it always was
    MoveTo(static_cast<HWND>(LogView()), layout.logView, FALSE);
}

void OnDpiChanged(HWND window, WPARAM wParam, LPARAM lParam) {
    UiState& ui = Ui();
    SetWindowDpi(HIWORD(wParam));
    const WindowLayout layout = LayoutOf(window);
    HWND stopButton = static_cast<HWND>(Monitor().stopButton.load());
    RefreshFont(stopButton, &ui.stopButtonFont, layout);
    RefreshFont(ui.clearButton, &ui.clearButtonFont, layout);
    DeleteObject(ui.labelFont);
    ui.labelFont = nullptr;  // made anew by the next paint
    for (HWND richEdit : {static_cast<HWND>(LogView()), ui.filterBox, ui.commandLine})
        if (richEdit) ZoomToWindowDpi(richEdit, true);
    const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
    SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    MoveTo(stopButton, layout.stopButton, FALSE);
    MoveTo(ui.clearButton, layout.clearButton, FALSE);
    LayOutControls(window);
    // Moved without repainting, the controls leave their old pixels behind: all of it anew.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}
