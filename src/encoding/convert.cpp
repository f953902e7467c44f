// src/encoding/convert.cpp
#include "encoding/convert.h"

#include "platform/platform.h"

std::string Utf8ToOem(const char* text) {
    return NarrowToOem(WidenUtf8(text));
}
