// src/encoding/convert.h
// UTF-8 text to the system's OEM code page (Shift_JIS on the systems served).
#pragma once
#include <string>

// narrow(widen(text)), text read up to its first NUL. Never fails: what cannot be
// converted follows the platform's own replacement rules, a failed call gives "".
std::string Utf8ToOem(const char* text);
