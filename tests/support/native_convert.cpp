// tests/support/native_convert.cpp
// Native stand-ins for the conversions: what MultiByteToWideChar and WideCharToMultiByte
// do on the served systems (UTF-8 in, code page 932 out).
#include <iconv.h>

#include <cstring>

#include "platform/platform.h"

// Invalid UTF-8 becomes U+FFFD per offending byte, as the Windows call does with flags 0.
std::u16string WidenUtf8(const char* text) {
    std::u16string out;
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    size_t n = std::strlen(text);
    for (size_t i = 0; i < n;) {
        unsigned char b = s[i];
        uint32_t cp;
        size_t len;
        if (b < 0x80) {
            cp = b, len = 1;
        } else if (b >= 0xC2 && b <= 0xDF) {
            cp = b & 0x1F, len = 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            cp = b & 0x0F, len = 3;
        } else if (b >= 0xF0 && b <= 0xF4) {
            cp = b & 0x07, len = 4;
        } else {
            out.push_back(0xFFFD), ++i;
            continue;
        }
        bool ok = i + len <= n;
        for (size_t k = 1; ok && k < len; ++k) {
            if ((s[i + k] & 0xC0) != 0x80)
                ok = false;
            else
                cp = (cp << 6) | (s[i + k] & 0x3F);
        }
        if (ok && ((len == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
                   (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)))) {
            ok = false;
        }
        if (!ok) {
            out.push_back(0xFFFD), ++i;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += len;
    }
    return out;
}

// The served systems' OEM code page is 932; what it cannot hold becomes '?', its default.
std::string NarrowToOem(const std::u16string& text) {
    thread_local iconv_t cd = iconv_open("CP932", "UTF-16LE");
    std::string out;
    if (cd == reinterpret_cast<iconv_t>(-1)) return out;
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t unit[2] = {text[i], 0};
        size_t units = 1;
        if (unit[0] >= 0xD800 && unit[0] <= 0xDBFF && i + 1 < text.size()) unit[1] = text[++i], units = 2;
        char in[4];
        for (size_t k = 0; k < units; ++k)
            in[2 * k] = char(unit[k] & 0xFF), in[2 * k + 1] = char(unit[k] >> 8);
        char buf[8];
        char* inp = in;
        char* outp = buf;
        size_t inLeft = 2 * units, outLeft = sizeof buf;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &inp, &inLeft, &outp, &outLeft) == static_cast<size_t>(-1) || outp == buf) {
            out.push_back('?');
        } else {
            out.append(buf, outp);
        }
    }
    return out;
}
