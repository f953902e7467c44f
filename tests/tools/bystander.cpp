// tests/tools/bystander.cpp
// Some other program, for the installer tests. However it is named (for example copied as
// a stranger's uninstall.exe), it appends its command line to the file named by
// KG_RAN_RECORD, if set, and deletes the file named by KG_RAN_DELETE, if set (what an older
// uninstaller removes; its name in the writers' escapes, as a Japanese name would not pass
// through the environment intact). "hold <path>" also opens that file without sharing, prints "held"
// and keeps it open until its standard input ends, as a monitor running elsewhere would.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "escape.h"

int main(int argc, char** argv) {
    char record[MAX_PATH];
    if (GetEnvironmentVariableA("KG_RAN_RECORD", record, sizeof record)) {
        FILE* f = std::fopen(record, "ab");
        if (!f) return 3;
        std::fprintf(f, "%s\n", GetCommandLineA());
        std::fclose(f);
    }
    char doomed[4 * MAX_PATH];
    if (GetEnvironmentVariableA("KG_RAN_DELETE", doomed, sizeof doomed)) DeleteFileA(Unescape(doomed).c_str());
    if (argc == 3 && std::strcmp(argv[1], "hold") == 0) {
        HANDLE file = CreateFileA(argv[2], GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return 2;
        std::puts("held");
        std::fflush(stdout);
        char buffer[64];
        while (std::fread(buffer, 1, sizeof buffer, stdin) > 0) {
        }
        CloseHandle(file);
    }
    return 0;
}
