// UTF-8, the encoding of paths inside the tools, and the UTF-16 of the
// Windows wide-character calls.
#pragma once

#include <string>

std::string utf8FromWide(const std::wstring& wide);
std::wstring wideFromUtf8(const std::string& utf8);
