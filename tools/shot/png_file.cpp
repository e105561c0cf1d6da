#include "tools/shot/png_file.h"

#include <png.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

std::string cannotWrite(const std::string& path) {
    return "cannot write " + path + ": " + std::strerror(errno);
}

// The temporary file sits next to the target: a rename within one folder is
// atomic, so a reader sees either the old file or the whole new one.
std::string temporaryPattern(const std::string& path) {
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return folder + "." + name + ".XXXXXX";
}

// Returns libpng's message when encoding fails, an empty string otherwise.
std::string encode(FILE* file, int width, int height, const std::vector<unsigned char>& rgb) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    const bool written = png_image_write_to_stdio(&image, file, 0, rgb.data(), 0, nullptr) != 0;
    const std::string message = written ? "" : image.message;
    png_image_free(&image);
    return message;
}

// Encodes into the open temporary file and closes it; returns why it failed,
// or an empty string.
std::string writeAndClose(FILE* file, const std::string& path, int width, int height,
                          const std::vector<unsigned char>& rgb) {
    std::string failure = encode(file, width, height, rgb);
    if (!failure.empty()) {
        failure = "cannot encode " + path + ": " + failure;
    } else if (std::fflush(file) != 0 || fsync(fileno(file)) != 0) {
        // A full disk may show only when the last buffered bytes go out.
        failure = cannotWrite(path);
    }
    if (std::fclose(file) != 0 && failure.empty()) failure = cannotWrite(path);
    return failure;
}

}  // namespace

bool writePng(const std::string& path, int width, int height,
              const std::vector<unsigned char>& rgb, std::string& problem) {
    std::string temporary = temporaryPattern(path);
    const int descriptor = mkstemp(temporary.data());
    if (descriptor < 0) {
        problem = cannotWrite(path);
        return false;
    }
    // mkstemp makes the file readable by its owner only; a picture is
    // normally readable by all, as far as the umask allows.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(descriptor, 0666 & ~mask);

    FILE* file = fdopen(descriptor, "wb");
    if (file == nullptr) {
        problem = cannotWrite(path);
        close(descriptor);
    } else {
        problem = writeAndClose(file, path, width, height, rgb);
    }
    if (problem.empty() && std::rename(temporary.c_str(), path.c_str()) != 0) {
        problem = cannotWrite(path);
    }
    if (problem.empty()) return true;
    unlink(temporary.c_str());
    return false;
}
