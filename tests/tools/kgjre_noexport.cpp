// tests/tools/kgjre_noexport.cpp
// A library at the shared-message path that lacks the export.
extern "C" __declspec(dllexport) void SomethingElse(const char*) {}
