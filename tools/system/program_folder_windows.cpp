#include "tools/system/program_folder.h"

#include <windows.h>

#include <vector>

// The buffer grows until the whole path fits: it may be longer than MAX_PATH.
std::filesystem::path programFolder() {
    std::vector<wchar_t> name(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0) return std::filesystem::path();
        if (length < name.size()) return std::filesystem::path(std::wstring(name.data(), length)).parent_path();
        name.resize(name.size() * 2);
    }
}
