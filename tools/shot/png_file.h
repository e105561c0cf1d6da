// PNG files for verrine-shot: written whole or not at all, and read back for
// comparison. Everything goes through libpng.
#pragma once

#include <string>
#include <vector>

// 8-bit RGB, rows from the top of the picture down.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
};

// One line saying why `path` cannot take a picture (a folder, a device, a
// pipe), or an empty text. A path that does not exist yet can.
std::string unwritableOutput(const std::string& path);

// Writes to a temporary file in the target's folder and renames it over the
// target only when it is complete. A symbolic link is followed, so its
// target gets the picture and the link stays. On failure, returns false with
// one line saying why in `problem` and leaves no file behind.
bool writePng(const std::string& path, const Picture& picture, std::string& problem);

bool writePngToStandardOutput(const Picture& picture, std::string& problem);

// Any PNG (palette, grey, alpha, 16-bit) comes back as 8-bit RGB; alpha is
// composed over black.
bool readPng(const std::string& path, Picture& picture, std::string& problem);
