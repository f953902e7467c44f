// src/platform/win32_handoff.cpp
// The hand-off file and the command sender. Any user of the machine can make folders
// under C:\, so the file's path may hold a link or a junction that another user placed;
// every open of the file goes through OpenHandOffFile, which follows none of them.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "platform/platform.h"
#include "texts.h"

namespace {
// GetFinalPathNameByHandle gives "\\?\C:\..." with the names' case on disk.
const char* WithoutPrefix(const char* finalPath) {
    return std::strncmp(finalPath, "\\\\?\\", 4) == 0 ? finalPath + 4 : finalPath;
}

// leadsTo gets where the open really led, whatever the answer.
bool IsThePlainFile(HANDLE file, std::string* leadsTo) {
    char finalPath[MAX_PATH + 8] = {};
    const DWORD n =
        GetFinalPathNameByHandleA(file, finalPath, sizeof finalPath, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    const bool named = n > 0 && n < sizeof finalPath;
    if (leadsTo) *leadsTo = named ? WithoutPrefix(finalPath) : "?";
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file, &info)) return false;
    if (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) return false;
    if (info.nNumberOfLinks != 1) return false;  // a second name may be another user's file
    return named && lstrcmpiA(WithoutPrefix(finalPath), kHandOffFile) == 0;
}

// The handle needs DELETE access.
bool DeleteThrough(HANDLE file) {
    FILE_DISPOSITION_INFO disposition{TRUE};
    return SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition) != 0;
}

// Opens the file at the fixed path without following a link at its name; a junction on
// the way shows in the final path. Anything but a plain file of its own at exactly that
// path is closed again (and removed if this open created it) and refused.
HANDLE OpenHandOffFile(DWORD access, DWORD disposition, uint32_t* error, std::string* leadsTo = nullptr) {
    auto open = [&](DWORD rights, DWORD how) {
        return CreateFileA(kHandOffFile, rights | FILE_READ_ATTRIBUTES, FILE_SHARE_READ, nullptr, how,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    };
    // A file this open makes is made with the right to delete it: one made at a place that
    // is then refused is removed through this same handle, as no second open could share
    // it. A file already there is opened as always, without that right, which a reader
    // still holding it (the sender's C runtime shares no delete) would refuse.
    bool created = false;
    HANDLE file = INVALID_HANDLE_VALUE;
    if (disposition == OPEN_ALWAYS) {
        for (int attempt = 0; attempt < 2 && file == INVALID_HANDLE_VALUE; ++attempt) {
            file = open(access | DELETE, CREATE_NEW);
            created = file != INVALID_HANDLE_VALUE;
            if (!created && GetLastError() != ERROR_FILE_EXISTS) break;
            if (!created) file = open(access, OPEN_EXISTING);
            // One gone between the two opens is made anew in the next round.
            if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_NOT_FOUND) break;
        }
    } else {
        file = open(access, disposition);
    }
    if (file == INVALID_HANDLE_VALUE) {
        *error = GetLastError();
        return nullptr;
    }
    if (!IsThePlainFile(file, leadsTo)) {
        if (created) DeleteThrough(file);
        CloseHandle(file);
        *error = kErrorNotThePlainFile;
        return nullptr;
    }
    *error = 0;
    return file;
}
}  // namespace

uint32_t WriteHandOffFile(const std::string& text, std::string* leadsTo) {
    uint32_t error = 0;
    HANDLE file = OpenHandOffFile(GENERIC_WRITE, OPEN_ALWAYS, &error, leadsTo);
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

// Started as a plain process, not through the shell: the shell's zone check would prompt
// on every command for a sender unpacked from a download, and a console sender would get
// a terminal window despite SW_HIDE where a terminal application is the console host. It
// gets no console at all, and works in the monitor's current folder, as it always did.
ProcessRef StartCommandSender(uint32_t* error) {
    char commandLine[sizeof kCommandSenderPath + sizeof kCommandSenderArguments + 4];
    std::snprintf(commandLine, sizeof commandLine, "\"%s\" %s", kCommandSenderPath, kCommandSenderArguments);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(kCommandSenderPath, commandLine, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &process)) {
        *error = GetLastError();
        return nullptr;
    }
    CloseHandle(process.hThread);
    *error = 0;
    return process.hProcess;
}

bool ProcessEnded(ProcessRef process) {
    return WaitForSingleObject(static_cast<HANDLE>(process), 0) != WAIT_TIMEOUT;
}

void ReleaseProcess(ProcessRef process) {
    if (process) CloseHandle(static_cast<HANDLE>(process));
}
