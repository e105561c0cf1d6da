#include "tests/support/image.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "tools/shot/picture_difference.h"

Rgb Image::at(int x, int y) const {
    const unsigned char* pixel = &picture_.rgb[3u * (y * width() + x)];
    return {pixel[0], pixel[1], pixel[2]};
}

void Image::set(int x, int y, Rgb colour) {
    unsigned char* pixel = &picture_.rgb[3u * (y * width() + x)];
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
    return width() == other.width() && height() == other.height() && picture_.rgb == other.picture_.rgb;
}

bool writePng(const Image& image, const std::string& path) {
    std::string unused;
    return writePng(path, image.picture(), unused);
}

std::optional<Image> readPng(const std::string& path) {
    Picture picture;
    std::string unused;
    if (!readPng(path, picture, unused)) return std::nullopt;
    return Image(std::move(picture));
}

// verrine-shot's comparison, with the ignored rectangles taken from the
// expected picture so that they never differ.
ImageDifference compareImages(const Image& actual, const Image& expected, const std::vector<Rect>& ignored,
                              int channelTolerance) {
    ImageDifference difference;
    if (actual.width() != expected.width() || actual.height() != expected.height()) {
        difference.differingPixels = INT_MAX;
        return difference;
    }
    Image masked = actual;
    for (const Rect& area : ignored) {
        for (int y = std::max(area.y, 0); y < std::min(area.y + area.height, actual.height()); ++y) {
            for (int x = std::max(area.x, 0); x < std::min(area.x + area.width, actual.width()); ++x) {
                masked.set(x, y, expected.at(x, y));
            }
        }
    }
    PictureDifference found = comparePictures(masked.picture(), expected.picture(), channelTolerance);
    difference.differingPixels = found.differingPixels;
    difference.picture = Image(std::move(found.picture));
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
