#include "tools/system/text_encoding.h"

#include <windows.h>

#include <cstdlib>
#include <vector>

namespace {

UINT consoleOutputCodePage = 0;

void restoreConsoleOutputCodePage() { SetConsoleOutputCP(consoleOutputCodePage); }

}  // namespace

std::string utf8FromWide(const std::wstring& wide) {
    if (wide.empty()) return "";
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), size, nullptr,
                        nullptr);
    return utf8;
}

std::wstring wideFromUtf8(const std::string& utf8) {
    if (utf8.empty()) return L"";
    const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
    return wide;
}

char** startInUtf8(int argc, wchar_t** argv) {
    consoleOutputCodePage = GetConsoleOutputCP();
    if (consoleOutputCodePage != 0 && SetConsoleOutputCP(CP_UTF8)) std::atexit(restoreConsoleOutputCodePage);

    static std::vector<std::string> arguments;
    static std::vector<char*> pointers;
    for (int i = 0; i < argc; ++i) arguments.push_back(utf8FromWide(argv[i]));
    for (std::string& argument : arguments) pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    return pointers.data();
}
