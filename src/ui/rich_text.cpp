// src/ui/rich_text.cpp
#include "ui/rich_text.h"

#include <richedit.h>

namespace {
DWORD CALLBACK AppendStreamed(DWORD_PTR cookie, LPBYTE bytes, LONG count, LONG* taken) {
    reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(bytes), static_cast<size_t>(count));
    *taken = count;
    return 0;
}
}  // namespace

std::string RichEditText(HWND control) {
    std::string text;
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&text), 0, AppendStreamed};
    SendMessageA(control, EM_STREAMOUT, SF_TEXT, reinterpret_cast<LPARAM>(&stream));
    return text;
}
