#include "tools/shot/png_file.h"

#include <png.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

// Linux gives up on a chain of links after 40 as well (ELOOP).
constexpr int kMaxLinks = 40;

std::string cannotWrite(const std::string& path) {
    return "cannot write " + path + ": " + std::strerror(errno);
}

// The file a chain of symbolic links ends at; it need not exist yet.
bool followLinks(const std::string& path, std::string& target, std::string& problem) {
    fs::path current = path;
    for (int links = 0; links <= kMaxLinks; ++links) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(current, error))) {
            target = current.string();
            return true;
        }
        const fs::path next = fs::read_symlink(current, error);
        if (error) {
            problem = "cannot write " + path + ": " + error.message();
            return false;
        }
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    problem = "cannot write " + path + ": " + std::strerror(ELOOP);
    return false;
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

// Encodes into the open temporary file and closes it; returns why it failed,
// or an empty string.
std::string writeAndClose(FILE* file, const std::string& path, const Picture& picture) {
    std::string failure = encode(file, picture);
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

std::string unwritableOutput(const std::string& path) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (!fs::exists(status)) return "";
    if (fs::is_directory(status)) return "cannot write " + path + ": it is a folder";
    if (!fs::is_regular_file(status)) {
        return "cannot write " + path + ": it is not a regular file (- writes the picture to standard output)";
    }
    return "";
}

bool writePng(const std::string& path, const Picture& picture, std::string& problem) {
    std::string target;
    if (!followLinks(path, target, problem)) return false;
    problem = unwritableOutput(target);
    if (!problem.empty()) return false;

    std::string temporary = temporaryPattern(target);
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
        problem = writeAndClose(file, path, picture);
    }
    if (problem.empty() && std::rename(temporary.c_str(), target.c_str()) != 0) {
        problem = cannotWrite(path);
    }
    if (problem.empty()) return true;
    unlink(temporary.c_str());
    return false;
}

bool writePngToStandardOutput(const Picture& picture, std::string& problem) {
    problem = encode(stdout, picture);
    if (!problem.empty()) {
        problem = "cannot encode the picture: " + problem;
    } else if (std::fflush(stdout) != 0) {
        problem = "cannot write to standard output: " + std::string(std::strerror(errno));
    }
    return problem.empty();
}

bool readPng(const std::string& path, Picture& picture, std::string& problem) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, path.c_str()) == 0) {
        problem = "cannot read " + path + ": " + image.message;
        png_image_free(&image);
        return false;
    }
    image.format = PNG_FORMAT_RGB;
    std::vector<unsigned char> rgb(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr) == 0) {
        problem = "cannot read " + path + ": " + image.message;
        png_image_free(&image);
        return false;
    }
    picture = {static_cast<int>(image.width), static_cast<int>(image.height), std::move(rgb)};
    return true;
}
