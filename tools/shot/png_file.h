// PNG files for verrine-shot: written whole or not at all, and read back for
// comparison. Everything goes through libpng.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tools/system/file_replace.h"  // unwritableOutput

// 8-bit RGB, rows from the top of the picture down.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
};

// The largest picture read, as the largest --size: a header may declare far
// more in a few bytes.
constexpr int kMaxPictureSide = 8192;

// Writes the picture with replaceFile (tools/system/file_replace.h): whole
// or not at all, through symbolic links, keeping the replaced file's mode
// and owner. On failure, returns false with one line saying why in `problem`.
bool writePng(const std::string& path, const Picture& picture, std::string& problem);

bool writePngToStandardOutput(const Picture& picture, std::string& problem);

// Reads a PNG file in two steps, so that a caller can refuse a picture by
// its size before any row is read. Any encoding (palette, grey, alpha,
// 8 or 16 bits, interlaced) comes back as 8-bit RGB with its values as
// stored: 16-bit values scaled to 8 bits, no gamma applied, and alpha
// composed over black (a pixel of alpha A shows A/255 of its colour).
class PngReader {
public:
    // Opens the file through one descriptor and reads its header. A picture
    // larger than kMaxPictureSide either way is refused here.
    explicit PngReader(const std::string& path);
    ~PngReader();
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;

    // Empty while all is well; otherwise one line: "cannot read PATH: why".
    const std::string& problem() const;
    int width() const;
    int height() const;
    // The pixels; false with problem() set when they cannot be read.
    bool read(Picture& picture);

    struct State;

private:
    std::unique_ptr<State> state_;
};

// Both steps at once.
bool readPng(const std::string& path, Picture& picture, std::string& problem);
