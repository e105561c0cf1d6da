#include "tests/support/image.h"

#include <png.h>

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "tools/shot/png_file.h"

Rgb Image::at(int x, int y) const {
    const uint8_t* pixel = &bytes_[3u * (y * width_ + x)];
    return {pixel[0], pixel[1], pixel[2]};
}

void Image::set(int x, int y, Rgb colour) {
    uint8_t* pixel = &bytes_[3u * (y * width_ + x)];
    pixel[0] = colour.red;
    pixel[1] = colour.green;
    pixel[2] = colour.blue;
}

Image Image::cropped(const Rect& area) const {
    Image part(area.width, area.height);
    for (int y = 0; y < area.height; ++y) {
        for (int x = 0; x < area.width; ++x) part.set(x, y, at(area.x + x, area.y + y));
    }
    return part;
}

bool Image::operator==(const Image& other) const {
    return width_ == other.width_ && height_ == other.height_ && bytes_ == other.bytes_;
}

bool writePng(const Image& image, const std::string& path) {
    png_image description = {};
    description.version = PNG_IMAGE_VERSION;
    description.width = static_cast<png_uint_32>(image.width());
    description.height = static_cast<png_uint_32>(image.height());
    description.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> bytes(3u * image.width() * image.height());
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            Rgb colour = image.at(x, y);
            uint8_t* pixel = &bytes[3u * (y * image.width() + x)];
            pixel[0] = colour.red;
            pixel[1] = colour.green;
            pixel[2] = colour.blue;
        }
    }
    return png_image_write_to_file(&description, path.c_str(), 0, bytes.data(), 0, nullptr) != 0;
}

// Read with verrine-shot's own reader, which --compare uses too.
std::optional<Image> readPng(const std::string& path) {
    Picture picture;
    std::string unused;
    if (!readPng(path, picture, unused)) return std::nullopt;
    Image image(picture.width, picture.height);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const uint8_t* pixel = &picture.rgb[3u * (y * image.width() + x)];
            image.set(x, y, {pixel[0], pixel[1], pixel[2]});
        }
    }
    return image;
}

ImageDifference compareImages(const Image& actual, const Image& expected, const std::vector<Rect>& ignored,
                              int channelTolerance) {
    ImageDifference difference;
    if (actual.width() != expected.width() || actual.height() != expected.height()) {
        difference.differingPixels = INT_MAX;
        return difference;
    }
    difference.picture = Image(expected.width(), expected.height());
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            Rgb a = actual.at(x, y);
            Rgb e = expected.at(x, y);
            bool skipped = std::any_of(ignored.begin(), ignored.end(), [&](const Rect& r) { return r.contains(x, y); });
            int largest = std::max({std::abs(a.red - e.red), std::abs(a.green - e.green), std::abs(a.blue - e.blue)});
            if (!skipped && largest > channelTolerance) {
                ++difference.differingPixels;
                difference.picture.set(x, y, {255, 0, 255});
            } else {
                auto fade = [](uint8_t channel) { return static_cast<uint8_t>(160 + channel / 4); };
                difference.picture.set(x, y, {fade(e.red), fade(e.green), fade(e.blue)});
            }
        }
    }
    return difference;
}

PixelRegion measurePixels(const Image& image, const std::function<bool(Rgb)>& selects) {
    PixelRegion region;
    int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
    double sumX = 0.0, sumY = 0.0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!selects(image.at(x, y))) continue;
            ++region.count;
            sumX += x;
            sumY += y;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (region.count == 0) return region;
    region.centroidX = sumX / region.count;
    region.centroidY = sumY / region.count;
    region.bounds = {left, top, right - left + 1, bottom - top + 1};
    return region;
}
