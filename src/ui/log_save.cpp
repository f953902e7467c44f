// src/ui/log_save.cpp
#include "ui/log_save.h"

#include <commdlg.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "logview/log_view.h"
#include "platform/platform.h"
#include "texts.h"
#include "ui/rich_text.h"

namespace {
// A resident scanner may hold the just-written file for a moment after it is closed.
constexpr int kPutInPlaceTries = 10;
constexpr DWORD kPutInPlaceRetryMs = 100;

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

// A new file beside path, with the whole text flushed to it; its name in temporary.
DWORD WriteBeside(const std::string& path, const std::string& bytes, std::string* temporary) {
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
        *temporary = path + "." + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(attempt) + ".tmp";
        file = CreateFileA(temporary->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
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
    if (error) DeleteFileA(temporary->c_str());
    return error;
}

bool WorthRetrying(DWORD error, const std::string& path) {
    switch (error) {
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_UNABLE_TO_REMOVE_REPLACED:
        case ERROR_UNABLE_TO_MOVE_REPLACEMENT:
            return true;
        case ERROR_ACCESS_DENIED: {
            // A scanner's open looks like this too; a read-only file stays refused.
            const DWORD attributes = GetFileAttributesA(path.c_str());
            return attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY);
        }
        default:
            return false;
    }
}

// An existing file is replaced in place (ReplaceFile): it keeps its attributes, its
// permissions and its identity, which a move over it would take from the new file. A
// file not there yet is moved in.
DWORD PutInPlace(const std::string& temporary, const std::string& path) {
    for (int attempt = 1;; ++attempt) {
        DWORD error = 0;
        if (!ReplaceFileA(path.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                          nullptr)) {
            error = GetLastError();
            if (error == ERROR_FILE_NOT_FOUND && !MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH))
                error = GetLastError();
            else if (error == ERROR_FILE_NOT_FOUND)
                error = 0;
        }
        if (!error || attempt == kPutInPlaceTries || !WorthRetrying(error, path)) return error;
        Sleep(kPutInPlaceRetryMs);
    }
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

// The written file goes in place only when it is whole: a failure never leaves a half
// file under the chosen name. The new file is removed after a failure unless the old one
// is gone already (a replace can fail half-way): then it is all that is left of the log.
DWORD SaveTo(const std::string& path, const std::string& bytes) {
    std::string temporary;
    if (const DWORD error = WriteBeside(path, bytes, &temporary)) return error;
    const DWORD error = PutInPlace(temporary, path);
    if (error && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) DeleteFileA(temporary.c_str());
    return error;
}
}  // namespace

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
    char message[MAX_PATH + 256];
    if (!GetSaveFileNameA(&dialog)) {
        // Cancelled is 0; anything else (a name too long for the buffer, say) is a failure.
        if (const DWORD error = CommDlgExtendedError()) {
            std::snprintf(message, sizeof message, kSaveDialogFailed, static_cast<unsigned>(error));
            ShowError(owner, message);
        }
        return;
    }
    if (const DWORD error = SaveTo(path, WithCrlfLineEnds(RichEditText(static_cast<HWND>(LogView()))))) {
        std::snprintf(message, sizeof message, kSaveFailed, path, static_cast<unsigned>(error));
        ShowError(owner, message);
    }
}
