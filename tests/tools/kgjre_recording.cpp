// tests/tools/kgjre_recording.cpp
// A shared-message library that records every text it is given: each one is appended to
// the file named by KG_RECORD_FILE as "<byte count>\n<bytes>\n", so texts holding line
// ends stay apart.
#include <windows.h>

#include <cstdio>
#include <cstring>

extern "C" __declspec(dllexport) void SetSharedMessage(const char* text) {
    char path[MAX_PATH];
    if (!GetEnvironmentVariableA("KG_RECORD_FILE", path, sizeof path)) return;
    FILE* f = std::fopen(path, "ab");
    if (!f) return;
    const size_t n = std::strlen(text);
    std::fprintf(f, "%u\n", static_cast<unsigned>(n));
    std::fwrite(text, 1, n, f);
    std::fputc('\n', f);
    std::fclose(f);
}
