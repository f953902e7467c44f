// src/ui/ui_state.h
// The window-side state: the handles and fonts the main window and its controls keep.
#pragma once
#include <windows.h>

inline constexpr int kCommandExit = 40002;
inline constexpr int kCommandFont = 40003;
inline constexpr int kStopResumeButtonId = 50001;
inline constexpr int kClearButtonId = 50005;
inline constexpr int kRichEditId = 1;  // both rich-edit controls; told apart by handle

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
};

UiState& Ui();
