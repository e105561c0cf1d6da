// Reading PNG pictures and comparing them with a tolerance for the small
// rasterisation differences between driver versions.
#pragma once

#include <png.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;  // 8-bit RGB, top row first
};

// An empty picture (width 0) when the file cannot be read as a PNG.
inline Picture readPicture(const std::string& path) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    Picture picture;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return picture;
    image.format = PNG_FORMAT_RGB;
    std::vector<unsigned char> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return picture;
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    picture.rgb = std::move(rgb);
    return picture;
}

// The share of pixels (0 to 1) in which some channel differs by more than
// `threshold`; 1 when the sizes differ.
inline double differingShare(const Picture& a, const Picture& b, int threshold = 24) {
    if (a.width != b.width || a.height != b.height || a.rgb.empty()) return 1.0;
    size_t differing = 0;
    for (size_t pixel = 0; pixel < a.rgb.size(); pixel += 3) {
        for (size_t channel = pixel; channel < pixel + 3; ++channel) {
            if (std::abs(a.rgb[channel] - b.rgb[channel]) > threshold) {
                ++differing;
                break;
            }
        }
    }
    return static_cast<double>(differing) / (a.rgb.size() / 3);
}
