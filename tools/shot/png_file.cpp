#include "tools/shot/png_file.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "tools/system/std_streams.h"

namespace {

// Returns libpng's message when encoding fails, an empty string otherwise.
std::string encode(FILE* file, const Picture& picture) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(picture.width);
    image.height = static_cast<png_uint_32>(picture.height);
    image.format = PNG_FORMAT_RGB;
    const bool written = png_image_write_to_stdio(&image, file, 0, picture.rgb.data(), 0, nullptr) != 0;
    const std::string message = written ? "" : image.message;
    png_image_free(&image);
    return message;
}

}  // namespace

bool writePng(const std::string& path, const Picture& picture, std::string& problem) {
    return replaceFile(path, [&picture](std::FILE* file) { return encode(file, picture); }, problem);
}

bool writePngToStandardOutput(const Picture& picture, std::string& problem) {
    makeStandardOutputBinary();
    problem = encode(stdout, picture);
    if (!problem.empty()) {
        problem = "cannot encode the picture: " + problem;
    } else if (std::fflush(stdout) != 0) {
        problem = "cannot write to standard output: " + std::string(std::strerror(errno));
    }
    return problem.empty();
}
