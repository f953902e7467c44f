// tests/tools/sender.cpp
// A stand-in for the editor's command sender, installed as se_socket.exe. At each start it
// waits KG_SENDER_DELAY_MS (if set; a slow sender), then reads the hand-off file and
// appends to the file named by KG_SENDER_RECORD what it found:
//   "start\n", "args <n>\n" then each argument as "<bytes>\n<bytes>\n",
//   "show <STARTF_USESHOWWINDOW set: 0|1> <wShowWindow>\n", "console <has a console window: 0|1>\n",
//   "file\n<bytes>\n<bytes>\n" (a byte count of -1 when it cannot be read).
// Then it relays the command to the stand-in editor's window, which answers with a debug line.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
constexpr char kHandOffFile[] = "C:\\usr\\kumogata\\socket\\se_socket.txt";

void Field(std::string& out, const std::string& bytes) {
    out += std::to_string(bytes.size()) + "\n" + bytes + "\n";
}

bool ReadAll(const char* path, std::string* bytes) {
    FILE* f = std::fopen(path, "rb");
    if (!f) return false;
    char buffer[8192];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
        bytes->append(buffer, n);
    std::fclose(f);
    return true;
}
}  // namespace

int main(int argc, char** argv) {
    char value[64];
    if (GetEnvironmentVariableA("KG_SENDER_DELAY_MS", value, sizeof value)) Sleep(std::strtoul(value, nullptr, 10));
    std::string command;
    const bool read = ReadAll(kHandOffFile, &command);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    std::string record = "start\nargs " + std::to_string(argc - 1) + "\n";
    for (int i = 1; i < argc; ++i)
        Field(record, argv[i]);
    record += "show " + std::to_string((startup.dwFlags & STARTF_USESHOWWINDOW) ? 1 : 0) + " " +
              std::to_string(startup.wShowWindow) + "\n";
    record += "console " + std::to_string(GetConsoleWindow() ? 1 : 0) + "\n";
    record += "file\n";
    if (read) {
        Field(record, command);
    } else {
        record += "-1\n";
    }
    char path[MAX_PATH];
    if (GetEnvironmentVariableA("KG_SENDER_RECORD", path, sizeof path)) {
        if (FILE* f = std::fopen(path, "ab")) {
            std::fwrite(record.data(), 1, record.size(), f);
            std::fclose(f);
        }
    }
    if (HWND editor = FindWindowA("Kumogata32Class", nullptr); editor && read) {
        COPYDATASTRUCT data{1, static_cast<DWORD>(command.size()), command.data()};
        DWORD_PTR result = 0;
        SendMessageTimeoutA(editor, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 5000, &result);
    }
    return 0;
}
