// bench/bare_reader.cpp
// The fastest possible reader of the debug-output channel: it only acknowledges. The
// end-to-end benchmark runs the same writer against it and against the monitor.
//   bare_reader COUNT   exits after COUNT messages, printing how long they took
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    const long count = argc > 1 ? std::atol(argv[1]) : 1000;
    SECURITY_DESCRIPTOR sd;
    InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&sd, TRUE, nullptr, FALSE);
    SECURITY_ATTRIBUTES sa{sizeof sa, &sd, TRUE};
    HANDLE ready = CreateEventA(&sa, FALSE, FALSE, "DBWIN_BUFFER_READY");
    HANDLE data = CreateEventA(&sa, FALSE, FALSE, "DBWIN_DATA_READY");
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, &sa, PAGE_READWRITE, 0, 4096, "DBWIN_BUFFER");
    if (!ready || !data || !mapping) return 1;
    MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 4096);
    SetEvent(ready);
    std::printf("ready\n");
    std::fflush(stdout);
    LARGE_INTEGER f, t0, t1;
    QueryPerformanceFrequency(&f);
    for (long i = 0; i < count; ++i) {
        if (WaitForSingleObject(data, 30000) != WAIT_OBJECT_0) return 2;
        if (i == 0) QueryPerformanceCounter(&t0);
        SetEvent(ready);
    }
    QueryPerformanceCounter(&t1);
    std::printf("%ld messages in %.3f s\n", count, double(t1.QuadPart - t0.QuadPart) / f.QuadPart);
    return 0;
}
