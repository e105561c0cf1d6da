// Fuzz inputs reach the readers as files, the way the viewer meets them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include <unistd.h>

// Writes the input to a file of this process's own and returns its path.
inline std::string writeFuzzFile(const std::uint8_t* data, std::size_t size) {
    static const std::string path = "/tmp/verrine-fuzz-" + std::to_string(getpid());
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) __builtin_trap();
    if (size > 0 && std::fwrite(data, size, 1, file) != 1) __builtin_trap();
    std::fclose(file);
    return path;
}
