// src/ui/controls.cpp
#include "ui/controls.h"

#include <richedit.h>

#include "capture/state.h"
#include "logview/colours.h"
#include "logview/log_view.h"
#include "texts.h"
#include "ui/control_names.h"
#include "ui/dpi.h"
#include "ui/ui_state.h"

namespace {
constexpr DWORD kLogViewStyle = 0x50B000C4;  // child, visible, border, both scroll bars, multi-line, auto-scroll
constexpr DWORD kButtonStyle = 0x50000000;
constexpr LPARAM kLogViewTextLimit = 10485760;
constexpr int32_t kOneLineHeightTwips = 200;

// Both buttons and the labels: each its own font object from this one description, 14
// pixels high at 96 DPI.
HFONT CreateControlFont(const WindowLayout& layout) {
    return CreateFontA(layout.fontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, PROOF_QUALITY, FIXED_PITCH | FF_MODERN, kFontFace);
}

HWND CreateButton(HWND parent, const char* caption, const Box& at, int id, HFONT* font, const WindowLayout& layout) {
    HWND button = CreateWindowExA(0, "BUTTON", caption, kButtonStyle, at.x, at.y, at.width, at.height, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Ui().instance, nullptr);
    *font = CreateControlFont(layout);
    SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(*font), 0);
    return button;
}

// Moved without repainting, so Windows repaints none of it (MoveWindow's documentation):
// what moved is then repainted whole, its border and scroll bars too. The parent's part it
// left was invalidated by what moved it: a resize (CS_HREDRAW | CS_VREDRAW), the command
// line shown or hidden, a change of the DPI.
void Place(HWND control, const Box& at) {
    if (!control) return;
    RECT now{};
    GetWindowRect(control, &now);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&now), 2);
    if (now.left == at.x && now.top == at.y && now.right - now.left == at.width && now.bottom - now.top == at.height)
        return;
    MoveWindow(control, at.x, at.y, at.width, at.height, FALSE);
    RedrawWhole(control);
}

// A button's font made anew for the window's DPI; the old one goes once it is replaced.
void RefreshFont(HWND control, HFONT* font, const WindowLayout& layout) {
    HFONT fresh = CreateControlFont(layout);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(fresh), TRUE);
    DeleteObject(*font);
    *font = fresh;
}
}  // namespace

HWND CreateLogView(HWND parent, const WindowLayout& layout) {
    const Box at = layout.logView;
    Ui().logViewRichEdit = LoadRichEditLibrary();
    HWND view = CreateWindowExA(WS_EX_CLIENTEDGE, "RICHEDIT", "", kLogViewStyle, at.x, at.y, at.width, at.height,
                                parent, reinterpret_cast<HMENU>(kRichEditId), Ui().instance, nullptr);
    SetLogView(view);
    NameControl(view, NamedControl::LogView);
    SendMessageA(view, EM_SETBKGNDCOLOR, 0, CurrentColours().background);
    ApplyLogViewDefaultFormat();
    // Also the control's default format: some rich edits give text typed after a line end
    // the default (black on our dark blue) rather than the insertion point's format.
    CharFormat format = MakeDefaultCharFormat(LogViewTwips(kLogViewHeightTwips));
    SendMessageA(view, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    SendMessageA(view, EM_EXLIMITTEXT, 0, kLogViewTextLimit);
    ScaleLogViewToWindowDpi(view);
    return view;
}

HWND CreateFilterBox(HWND parent, const WindowLayout& layout) {
    const Box at = layout.filterBox;
    Ui().filterBoxRichEdit = LoadRichEditLibrary();
    HWND box = CreateWindowExA(WS_EX_CLIENTEDGE, "RICHEDIT", "", kOneLineRichEditStyle, at.x, at.y, at.width, at.height,
                               parent, reinterpret_cast<HMENU>(kRichEditId), Ui().instance, nullptr);
    Ui().filterBox = box;
    NameControl(box, NamedControl::FilterBox);
    const LRESULT mask = SendMessageA(box, EM_GETEVENTMASK, 0, 0);
    SendMessageA(box, EM_SETEVENTMASK, 0, mask | ENM_UPDATE);
    SetOneLineLook(box, Ui().filterBoxScale);
    return box;
}

void SetOneLineLook(HWND control, TextScale& scale) {
    SendMessageA(control, EM_SETBKGNDCOLOR, 0, CurrentColours().background);
    ApplyDefaultFormat(control, kOneLineHeightTwips);
    scale = TextScale{kOneLineHeightTwips};  // a new control has been given nothing yet
    ScaleToWindowDpi(control, scale);
}

void RecolourOneLine(HWND control) {
    // No change notice while it is done: the filter box would take it for the user's edit
    // and rebuild the view, losing the place that the colours' own rebuild holds.
    const LRESULT mask = SendMessageA(control, EM_SETEVENTMASK, 0, 0);
    SendMessageA(control, EM_SETBKGNDCOLOR, 0, CurrentColours().background);
    CHARFORMATA colour{};
    colour.cbSize = sizeof colour;
    colour.dwMask = CFM_COLOR;
    colour.crTextColor = CurrentColours().text;
    SendMessageA(control, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&colour));
    SendMessageA(control, EM_SETEVENTMASK, 0, mask);
}

HMODULE LoadRichEditLibrary() {
    return LoadLibraryExA("RICHED32.DLL", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

void ReleaseRichEditLibrary(HMODULE library) {
    if (!FreeLibrary(library)) MessageBoxA(nullptr, kLibraryReleaseFailed, kErrorCaption, MB_OK);
}

HWND CreateStopResumeButton(HWND parent, const WindowLayout& layout) {
    HWND button =
        CreateButton(parent, kCaptionStop, layout.stopButton, kStopResumeButtonId, &Ui().stopButtonFont, layout);
    Monitor().stopButton = button;
    return button;
}

HWND CreateClearButton(HWND parent, const WindowLayout& layout) {
    Ui().clearButton =
        CreateButton(parent, kCaptionClear, layout.clearButton, kClearButtonId, &Ui().clearButtonFont, layout);
    return Ui().clearButton;
}

void PaintFilterLabel(HWND window, const WindowLayout& layout) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    if (!Ui().labelFont) Ui().labelFont = CreateControlFont(layout);
    SelectObject(dc, Ui().labelFont);
    SetTextColor(dc, CurrentColours().label);
    SetBkColor(dc, CurrentColours().labelBackground);  // opaque, as the device context draws text
    TextOutA(dc, layout.filterLabel.x, layout.filterLabel.y, kFilterLabel, sizeof kFilterLabel - 1);
    if (layout.commandLineShown) {
        TextOutA(dc, layout.commandLabel.x, layout.commandLabel.y, kCommandLabel, sizeof kCommandLabel - 1);
    }
    EndPaint(window, &ps);
}

void LayOutControls(const WindowLayout& layout) {
    UiState& ui = Ui();
    Place(ui.filterBox, layout.filterBox);
    InvalidateRect(ui.filterBox, nullptr, TRUE);
    if (layout.commandLineShown) {
        Place(ui.commandLine, layout.commandLine);
        InvalidateRect(ui.commandLine, nullptr, TRUE);
    }
    Place(static_cast<HWND>(LogView()), layout.logView);
    // Their places change only with the DPI.
    Place(static_cast<HWND>(Monitor().stopButton.load()), layout.stopButton);
    Place(ui.clearButton, layout.clearButton);
}

void ScaleControls(const WindowLayout& layout) {
    UiState& ui = Ui();
    RefreshFont(static_cast<HWND>(Monitor().stopButton.load()), &ui.stopButtonFont, layout);
    RefreshFont(ui.clearButton, &ui.clearButtonFont, layout);
    DeleteObject(ui.labelFont);
    ui.labelFont = nullptr;  // made anew by the next paint
    if (HWND view = static_cast<HWND>(LogView())) ScaleLogViewToWindowDpi(view);
    ScaleToWindowDpi(ui.filterBox, ui.filterBoxScale);
    if (ui.commandLine) ScaleToWindowDpi(ui.commandLine, ui.commandLineScale);
}
