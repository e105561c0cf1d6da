// The folder that holds the running program, found from the system's own
// record of it rather than from the command line, which may name it by a
// link or not at all. Linux: /proc/self/exe (program_folder_posix.cpp);
// Windows: GetModuleFileNameW (program_folder_windows.cpp).
#pragma once

#include <filesystem>

// An empty path when the system cannot say.
std::filesystem::path programFolder();
