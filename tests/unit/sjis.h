// tests/unit/sjis.h
// A real conversion of readable UTF-8 to code page 932, independent of the code under
// test: iconv natively, the Windows conversion calls under Wine.
#pragma once
#include <string>

std::string RealCp932(const std::string& utf8);
