// tests/fuzz/encoding_fuzz.cpp
// Encoding detection and the UTF-8 conversion on arbitrary bytes: a writer of debug
// output can send anything.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "encoding/convert.h"
#include "encoding/detect.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 64 * 1024 + 4096) return 0;  // no working text is longer
    const int index = DetectEncoding(data, static_cast<int32_t>(size));
    if (index < 0 || index > 10) std::abort();
    for (float score :
         {JisScore(data, static_cast<int32_t>(size)), Utf8Score(data, static_cast<int32_t>(size)),
          ShiftJisScore(data, static_cast<int32_t>(size)), EucJpScore(data, static_cast<int32_t>(size))}) {
        if (score != score) std::abort();  // NaN would make every comparison false
    }

    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string converted = Utf8ToOem(text.c_str());
    if (std::strlen(converted.c_str()) != converted.size()) std::abort();  // no NUL inside
    // ASCII passes through unchanged.
    const size_t ascii = std::strlen(text.c_str());
    bool allAscii = true;
    for (size_t i = 0; i < ascii; ++i)
        allAscii = allAscii && static_cast<unsigned char>(text[i]) < 0x80;
    if (allAscii && converted != text.c_str()) std::abort();
    return 0;
}
