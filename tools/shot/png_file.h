// Writing a picture as a PNG file that appears whole or not at all.
#pragma once

#include <string>
#include <vector>

// Writes 8-bit RGB rows (top row first) to a temporary file in the target's
// folder and renames it over `path` only when it is complete. On failure,
// returns false with one line saying why in `problem` and leaves no file
// behind.
bool writePng(const std::string& path, int width, int height,
              const std::vector<unsigned char>& rgb, std::string& problem);
