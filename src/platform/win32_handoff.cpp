// src/platform/win32_handoff.cpp
// The hand-off file and the command sender. Any user of the machine can make folders
// under C:\, so the file's path may hold a link or a junction that another user placed;
// every open of the file goes through OpenHandOffFile, which follows none of them.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cstring>

#include "platform/platform.h"
#include "texts.h"

namespace {
bool IsHandOffPath(const char* finalPath) {
    // GetFinalPathNameByHandle gives "\\?\C:\..." with the names' case on disk.
    const char* path = std::strncmp(finalPath, "\\\\?\\", 4) == 0 ? finalPath + 4 : finalPath;
    return lstrcmpiA(path, kHandOffFile) == 0;
}

bool IsThePlainFile(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file, &info)) return false;
    if (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) return false;
    if (info.nNumberOfLinks != 1) return false;  // a second name may be another user's file
    char finalPath[MAX_PATH + 8] = {};
    const DWORD n =
        GetFinalPathNameByHandleA(file, finalPath, sizeof finalPath, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    return n > 0 && n < sizeof finalPath && IsHandOffPath(finalPath);
}

// The handle needs DELETE access.
bool DeleteThrough(HANDLE file) {
    FILE_DISPOSITION_INFO disposition{TRUE};
    return SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition) != 0;
}

// Opens the file at the fixed path without following a link at its name; a junction on
// the way shows in the final path. Anything but a plain file of its own at exactly that
// path is closed again (and removed if this open created it) and refused.
HANDLE OpenHandOffFile(DWORD access, DWORD disposition, uint32_t* error) {
    HANDLE file = CreateFileA(kHandOffFile, access | FILE_READ_ATTRIBUTES, FILE_SHARE_READ, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        *error = GetLastError();
        return nullptr;
    }
    const bool created = disposition != OPEN_EXISTING && GetLastError() != ERROR_ALREADY_EXISTS;
    if (!IsThePlainFile(file)) {
        if (created) {
            HANDLE again = ReOpenFile(file, DELETE, FILE_SHARE_READ, FILE_FLAG_OPEN_REPARSE_POINT);
            if (again != INVALID_HANDLE_VALUE) DeleteThrough(again), CloseHandle(again);
        }
        CloseHandle(file);
        *error = kErrorNotThePlainFile;
        return nullptr;
    }
    *error = 0;
    return file;
}
}  // namespace

uint32_t WriteHandOffFile(const std::string& text) {
    uint32_t error = 0;
    HANDLE file = OpenHandOffFile(GENERIC_WRITE, OPEN_ALWAYS, &error);
    if (!file) return error;
    // Emptied only now that it is known to be ours, then written as the C runtime's text
    // mode "w" writes, which is what the editor's sender has always read.
    if (!SetEndOfFile(file)) {
        error = GetLastError();
        CloseHandle(file);
        return error;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_WRONLY | _O_TEXT);
    if (fd < 0) {
        CloseHandle(file);
        return ERROR_TOO_MANY_OPEN_FILES;
    }
    FILE* stream = _fdopen(fd, "w");
    if (!stream) {
        _close(fd);
        return ERROR_TOO_MANY_OPEN_FILES;
    }
    const bool whole = std::fwrite(text.data(), 1, text.size(), stream) == text.size();
    const bool closed = std::fclose(stream) == 0;  // the buffered part is written here
    if (whole && closed) return 0;
    error = GetLastError();
    return error ? error : ERROR_WRITE_FAULT;
}

uint32_t DeleteHandOffFile() {
    uint32_t error = 0;
    HANDLE file = OpenHandOffFile(DELETE, OPEN_EXISTING, &error);
    if (!file) return error;
    error = DeleteThrough(file) ? 0 : GetLastError();
    CloseHandle(file);
    return error;
}

bool CommandSenderExists() {
    const DWORD attributes = GetFileAttributesA(kCommandSenderPath);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

ProcessRef StartCommandSender(uint32_t* error) {
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.hwnd = nullptr;
    info.lpVerb = nullptr;
    info.lpFile = kCommandSenderPath;
    info.lpParameters = kCommandSenderArguments;
    info.lpDirectory = nullptr;
    info.nShow = SW_HIDE;
    if (!ShellExecuteExA(&info)) {
        *error = GetLastError();
        return nullptr;
    }
    *error = 0;
    // No process handle (a start handed to another running program) cannot be waited
    // for: the queue then waits its time-out before the next command.
    return info.hProcess ? info.hProcess : INVALID_HANDLE_VALUE;
}

bool ProcessEnded(ProcessRef process) {
    if (process == INVALID_HANDLE_VALUE) return false;
    return WaitForSingleObject(static_cast<HANDLE>(process), 0) != WAIT_TIMEOUT;
}

void ReleaseProcess(ProcessRef process) {
    if (process && process != INVALID_HANDLE_VALUE) CloseHandle(static_cast<HANDLE>(process));
}
