// src/ui/log_menu.cpp
#include "ui/log_menu.h"

#include <commdlg.h>
#include <richedit.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "logview/history.h"
#include "platform/platform.h"
#include "texts.h"
#include "ui/ui_state.h"

namespace {
HWND View() {
    return static_cast<HWND>(LogView());
}

DWORD CALLBACK AppendStreamed(DWORD_PTR cookie, LPBYTE bytes, LONG count, LONG* taken) {
    reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(bytes), static_cast<size_t>(count));
    *taken = count;
    return 0;
}

// What the view shows, as the control streams it out: its own code-page bytes.
std::string ViewText() {
    std::string text;
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&text), 0, AppendStreamed};
    SendMessageA(View(), EM_STREAMOUT, SF_TEXT, reinterpret_cast<LPARAM>(&stream));
    return text;
}

// Each line end, whichever form the control keeps (CR, LF or CR LF), as CR LF.
std::string WithCrlfLineEnds(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            out += "\r\n";
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out += c;
        }
    }
    return out;
}

// Writes a new file beside path and only then puts it in path's place, so that a
// failure half-way never leaves a half-written file under the chosen name.
DWORD ReplaceFileContents(const std::string& path, const std::string& bytes) {
    std::string temporary;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
        temporary = path + "." + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(attempt) + ".tmp";
        file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) return GetLastError();
    }
    if (file == INVALID_HANDLE_VALUE) return ERROR_FILE_EXISTS;
    DWORD error = 0;
    for (size_t at = 0; at < bytes.size() && !error;) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - at, 1 << 20));
        if (!WriteFile(file, bytes.data() + at, chunk, &written, nullptr) || written == 0) error = GetLastError();
        at += written;
    }
    if (!error && !FlushFileBuffers(file)) error = GetLastError();
    if (!CloseHandle(file) && !error) error = GetLastError();
    if (!error && !MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = GetLastError();
    }
    if (error) DeleteFileA(temporary.c_str());
    return error;
}

// "kgmonitor-YYYYMMDD-HHMMSS.txt", from the local time.
std::string DefaultFileName() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    char name[64];
    std::snprintf(name, sizeof name, "kgmonitor-%04u%02u%02u-%02u%02u%02u.txt", t.wYear, t.wMonth, t.wDay, t.wHour,
                  t.wMinute, t.wSecond);
    return name;
}
}  // namespace

void ShowLogViewMenu(HWND window, LPARAM at) {
    POINT p{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    if (at == -1) {  // from the keyboard: at the view's top left corner
        RECT r{};
        GetWindowRect(View(), &r);
        p = {r.left + 5, r.top + 5};
    }
    CHARRANGE selection{};
    SendMessageA(View(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING | (selection.cpMin == selection.cpMax ? MF_GRAYED : 0), kCommandCopy, kMenuCopy);
    AppendMenuA(menu, MF_STRING, kCommandSelectAll, kMenuSelectAll);
    AppendMenuA(menu, MF_STRING, kCommandSaveAs, kMenuSaveAs);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, kClearButtonId, kCaptionClear);
    // The chosen entry arrives as WM_COMMAND, like a button's click.
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, p.x, p.y, 0, window, nullptr);
    DestroyMenu(menu);
}

void CopyLogViewSelection() {
    SendMessageA(View(), WM_COPY, 0, 0);
}

void SelectAllOfLogView() {
    SendMessageA(View(), EM_SETSEL, 0, -1);
}

void SaveLogViewAs(HWND owner) {
    char path[MAX_PATH] = {};
    const std::string name = DefaultFileName();
    std::snprintf(path, sizeof path, "%s", name.c_str());
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = kSaveFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = sizeof path;
    dialog.lpstrDefExt = "txt";
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    if (!GetSaveFileNameA(&dialog)) return;
    if (const DWORD error = ReplaceFileContents(path, WithCrlfLineEnds(ViewText()))) {
        char message[MAX_PATH + 128];
        std::snprintf(message, sizeof message, kSaveFailed, path, static_cast<unsigned>(error));
        ShowError(owner, message);
    }
}

bool HandleLogViewShortcut(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || msg.wParam != 'A' || msg.hwnd != View() || GetKeyState(VK_CONTROL) >= 0) {
        return false;
    }
    SelectAllOfLogView();
    return true;
}
