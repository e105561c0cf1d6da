// Any bytes as a reference picture: the PNG reader either refuses them with
// one line or gives 8-bit RGB of the size its header declares, never larger
// than the largest picture, and never crashes or runs out of memory.

#include "fuzz/fuzz_file.h"
#include "tools/shot/png_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Picture picture;
    std::string problem;
    const bool read = readPng(writeFuzzFile(data, size), picture, problem);
    if (!read) {
        if (problem.empty() || problem.find('\n') != std::string::npos) __builtin_trap();
        return 0;
    }
    if (picture.width < 1 || picture.height < 1) __builtin_trap();
    if (picture.width > kMaxPictureSide || picture.height > kMaxPictureSide) __builtin_trap();
    if (picture.rgb.size() != static_cast<std::size_t>(picture.width) * picture.height * 3) __builtin_trap();
    return 0;
}
