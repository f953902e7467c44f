// bench/richedit_cost.cpp
// Where a log-view line's time goes under Wine: each rich-edit message that one append
// sends, timed in-process on a visible window.
//   richedit_cost [LINES] [hidden]     (hidden: the same without painting, for comparison)
#include <windows.h>

#include <richedit.h>

#include <cstdio>
#include <cstdlib>
#include <string>

static double Now() {
    LARGE_INTEGER a, f;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&a);
    return double(a.QuadPart) / f.QuadPart;
}

int main(int argc, char** argv) {
    const int lines = argc > 1 ? std::atoi(argv[1]) : 300;
    const bool hidden = argc > 2 && std::string(argv[2]) == "hidden";
    LoadLibraryA("RICHED32.DLL");
    HWND main =
        CreateWindowExA(0, "STATIC", "x", WS_OVERLAPPEDWINDOW | (hidden ? 0 : WS_VISIBLE), 0, 0, 500, 480, 0, 0, 0, 0);
    HWND v = CreateWindowExA(WS_EX_CLIENTEDGE, "RICHEDIT", "", 0x50B000C4, 5, 40, 480, 400, main, (HMENU)1, 0, 0);
    MSG msg;
    while (PeekMessageA(&msg, 0, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
    double t[5] = {0};
    for (int i = 0; i < lines; i++) {
        const std::string s = "log-view-line-" + std::to_string(i) + "\n";
        const double a = Now();
        const LRESULT len = SendMessageA(v, WM_GETTEXTLENGTH, 0, 0);
        const double b = Now();
        SendMessageA(v, EM_SETSEL, len, len);
        const double c = Now();
        SendMessageA(v, EM_LINESCROLL, 0, i);
        const double d = Now();
        SendMessageA(v, EM_REPLACESEL, 0, (LPARAM)s.c_str());
        const double e = Now();
        UpdateWindow(v);
        const double f = Now();
        t[0] += b - a, t[1] += c - b, t[2] += d - c, t[3] += e - d, t[4] += f - e;
    }
    std::printf(
        "%s, %d lines, ms per line: WM_GETTEXTLENGTH %.2f, EM_SETSEL %.2f, EM_LINESCROLL %.2f, "
        "EM_REPLACESEL %.2f, UpdateWindow %.2f\n",
        hidden ? "hidden window" : "visible window", lines, 1000 * t[0] / lines, 1000 * t[1] / lines,
        1000 * t[2] / lines, 1000 * t[3] / lines, 1000 * t[4] / lines);
    return 0;
}
