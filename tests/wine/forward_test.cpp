// tests/wine/forward_test.cpp
// Forwarding through the real LoadLibraryA and GetProcAddress, from the fixed path
// C:\usr\kumogata\kgjre.dll inside the test prefix.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "capture/forward.h"
#include "capture/state.h"
#include "texts.h"

namespace {
std::string Tool(const char* name) {
    const char* dir = std::getenv("KG_TOOLS_DIR");
    return std::string(dir ? dir : ".") + "\\" + name;
}

std::vector<std::string> ReadRecords(const std::string& path) {
    std::vector<std::string> out;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return out;
    unsigned n;
    while (std::fscanf(f, "%u", &n) == 1 && std::fgetc(f) == '\n') {
        std::string text(n, '\0');
        if (std::fread(text.data(), 1, n, f) != n) break;
        std::fgetc(f);
        out.push_back(text);
    }
    std::fclose(f);
    return out;
}

void Unload() {
    if (Capture().forward.library) FreeLibrary(static_cast<HMODULE>(Capture().forward.library));
    ResetCaptureState();
}
}  // namespace

TEST(RealForwarding, LoadsFromTheFixedPathAndCallsTheExport) {
    CreateDirectoryA("C:\\usr", nullptr);
    CreateDirectoryA("C:\\usr\\kumogata", nullptr);
    DeleteFileA(kSharedLibraryPath);
    ResetCaptureState();
    std::strcpy(Monitor().displayBuffer, "hello\n");

    ForwardMessage(Outcome::Show);  // nothing there: silently skipped
    EXPECT_EQ(Capture().forward.library, nullptr);

    ASSERT_TRUE(CopyFileA(Tool("kgjre_noexport.dll").c_str(), kSharedLibraryPath, FALSE));
    ForwardMessage(Outcome::Show);
    EXPECT_NE(Capture().forward.library, nullptr);  // loaded and kept
    EXPECT_EQ(Capture().forward.exportAddress, nullptr);
    Unload();

    const std::string record = std::string(std::getenv("TEMP") ? std::getenv("TEMP") : ".") + "\\kg-forward.txt";
    DeleteFileA(record.c_str());
    SetEnvironmentVariableA("KG_RECORD_FILE", record.c_str());
    ASSERT_TRUE(CopyFileA(Tool("kgjre.dll").c_str(), kSharedLibraryPath, FALSE));
    std::strcpy(Monitor().displayBuffer, "hello\n");
    ForwardMessage(Outcome::Show);
    Capture().flood.repeatCounters = {{"a", 2}, {"b", 1}, {"c", 0}};
    ForwardMessage(Outcome::RepeatNotice);
    EXPECT_EQ(ReadRecords(record), (std::vector<std::string>{"hello\n", kForwardedRepeatNotice, "hello\n", "hello\n"}));
    EXPECT_EQ(Capture().flood.repeatCounters, (std::map<std::string, int32_t>{{"a", 1}, {"b", 0}, {"c", 0}}));
    Unload();
    DeleteFileA(kSharedLibraryPath);
}
