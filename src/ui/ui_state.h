// src/ui/ui_state.h
// The window-side state: the handles, fonts and scales the main window and its controls
// keep, in one place (ui_state.cpp). Every file of the window reads it; it asks none of them.
#pragma once
#include <windows.h>

#include "logview/zoom.h"

inline constexpr int kCommandExit = 40002;
inline constexpr int kCommandFont = 40003;
inline constexpr int kStopResumeButtonId = 50001;
inline constexpr int kClearButtonId = 50005;
inline constexpr int kRichEditId = 1;  // both rich-edit controls; told apart by handle
inline constexpr int kCommandLineId = 2;
// The log view's context menu; its "clear" is the clear button's command.
inline constexpr int kCommandCopy = 40101;
inline constexpr int kCommandSelectAll = 40102;
inline constexpr int kCommandSaveAs = 40103;
inline constexpr int kCommandFind = 40104;
inline constexpr int kCommandAutoScroll = 40105;
inline constexpr int kCommandShowTime = 40106;
inline constexpr int kCommandInsertMarker = 40107;
inline constexpr int kCommandColours = 40108;
inline constexpr int kCommandWrap = 40109;

struct UiState {
    HINSTANCE instance = nullptr;
    HANDLE monitorThread = nullptr;
    HWND filterBox = nullptr;
    HWND clearButton = nullptr;
    HMODULE logViewRichEdit = nullptr;
    HMODULE filterBoxRichEdit = nullptr;
    HFONT stopButtonFont = nullptr;
    HFONT clearButtonFont = nullptr;
    HFONT labelFont = nullptr;
    int dpi = 96;                                  // the window's, which every length and font is scaled to (dpi.h)
    HICON smallIcon = nullptr, bigIcon = nullptr;  // the window's, at its DPI (window_icons.h)
    TextScale filterBoxScale, commandLineScale;    // the log view's lives with it (logview/zoom.h)
    // Only while the editor's command sender is installed (looked for at start and at
    // every activation); otherwise the window is as it always was.
    HWND commandLine = nullptr;
    HMODULE commandLineRichEdit = nullptr;
    bool reportingCommandFailure = false;  // a failure's box is up: the queue waits
    HWND lastFocus = nullptr;              // the control that had the focus when the window was last left
    int wheelTurned = 0;                   // a Ctrl+wheel turned less than a notch: fine-grained wheels send parts
};

UiState& Ui();
