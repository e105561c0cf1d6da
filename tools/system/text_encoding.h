// UTF-8, the encoding of paths inside the tools, and the UTF-16 of the
// Windows wide-character calls.
#pragma once

#include <string>

std::string utf8FromWide(const std::wstring& wide);
std::wstring wideFromUtf8(const std::string& utf8);

// The start of each of the programs on Windows: their arguments, given wide,
// in UTF-8, kept for the run and followed by a null pointer; and the
// console, if they write to one, showing UTF-8 for the run, getting its own
// code page back afterwards.
char** startInUtf8(int argc, wchar_t** argv);
