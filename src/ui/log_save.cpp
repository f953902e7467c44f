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

// The nth name beside path of this kind ("tmp", "bak"), for this process.
std::string NameBeside(const std::string& path, int n, const char* kind) {
    return path + "." + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(n) + "." + kind;
}

// A new file beside path, with the whole text flushed to it; its name in temporary.
DWORD WriteBeside(const std::string& path, const std::string& bytes, std::string* temporary) {
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
        *temporary = NameBeside(path, attempt, "tmp");
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

// A name beside path that no file has yet, for the old file while the new one takes its
// place; empty when every one is taken (the replace would move the old file over one).
std::string BackupNameFor(const std::string& path) {
    for (int n = 0; n < 100; ++n) {
        std::string name = NameBeside(path, n, "bak");
        if (GetFileAttributesA(name.c_str()) == INVALID_FILE_ATTRIBUTES) return name;
    }
    return {};
}

DWORD MoveIn(const std::string& temporary, const std::string& path) {
    for (int attempt = 1;; ++attempt) {
        if (MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH)) return 0;
        const DWORD error = GetLastError();
        if (attempt == kPutInPlaceTries || !WorthRetrying(error, path)) return error;
        Sleep(kPutInPlaceRetryMs);
    }
}

// An existing file is replaced in place (ReplaceFile): it keeps its attributes, its
// permissions and its identity, which a move over it would take from the new file. A
// file not there yet is moved in. The old file is replaced through a backup name: as
// ReplaceFile's documentation says, ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 leaves the new file
// under its own name and the old one under another, the backup name if one was given (else
// a name nobody knows). The backup goes only once the new file is in place; otherwise
// aside says where the old one is.
DWORD PutInPlace(const std::string& temporary, const std::string& path, std::string* aside) {
    const std::string backup = BackupNameFor(path);
    if (backup.empty()) return ERROR_FILE_EXISTS;
    for (int attempt = 1;; ++attempt) {
        DWORD error = 0;
        if (!ReplaceFileA(path.c_str(), temporary.c_str(), backup.c_str(), REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                          nullptr)) {
            error = GetLastError();
            if (error == ERROR_FILE_NOT_FOUND) return MoveIn(temporary, path);
            if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
                error = MoveIn(temporary, path);
                if (error) {
                    *aside = backup;
                    return error;
                }
            }
        }
        if (!error) {
            DeleteFileA(backup.c_str());
            return 0;
        }
        if (attempt == kPutInPlaceTries || !WorthRetrying(error, path)) return error;
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
// is gone from its place: then it is the log's only copy, and written names where it is
// (and aside where the old file lies, when a replace moved it there).
DWORD SaveTo(const std::string& path, const std::string& bytes, std::string* written, std::string* aside) {
    if (const DWORD error = WriteBeside(path, bytes, written)) return error;
    const DWORD error = PutInPlace(*written, path, aside);
    if (error && aside->empty() && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES)
        DeleteFileA(written->c_str());
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
    char message[4 * MAX_PATH + 256];  // up to three names
    if (!GetSaveFileNameA(&dialog)) {
        // Cancelled is 0; anything else (a name too long for the buffer, say) is a failure.
        if (const DWORD error = CommDlgExtendedError()) {
            std::snprintf(message, sizeof message, kSaveDialogFailed, static_cast<unsigned>(error));
            ShowError(owner, message);
        }
        return;
    }
    std::string written, aside;
    const DWORD error = SaveTo(path, WithCrlfLineEnds(RichEditText(static_cast<HWND>(LogView()))), &written, &aside);
    if (!error) return;
    if (aside.empty()) {
        std::snprintf(message, sizeof message, kSaveFailed, path, static_cast<unsigned>(error));
    } else {
        std::snprintf(message, sizeof message, kSaveLeftAside, path, aside.c_str(), written.c_str(),
                      static_cast<unsigned>(error));
    }
    ShowError(owner, message);
}
