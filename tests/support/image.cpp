#include "tests/support/image.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include <zlib.h>

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

namespace {

void appendWord(std::string& bytes, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) bytes += static_cast<char>(value >> shift & 0xFF);
}

}  // namespace

std::string pngChunk(const std::string& type, const std::string& data) {
    std::string chunk;
    appendWord(chunk, static_cast<uint32_t>(data.size()));
    chunk += type + data;
    appendWord(chunk, crc32(0, reinterpret_cast<const Bytef*>(chunk.data()) + 4, static_cast<uInt>(chunk.size() - 4)));
    return chunk;
}

std::string pngFile(uint32_t width, uint32_t height, int depth, int colourType, const std::string& rows,
                    const std::string& chunks) {
    std::string header;
    appendWord(header, width);
    appendWord(header, height);
    header += {static_cast<char>(depth), static_cast<char>(colourType), 0, 0, 0};
    const size_t rowBytes = rows.size() / std::max<uint32_t>(height, 1);
    std::string filtered;
    for (size_t at = 0; rowBytes > 0 && at < rows.size(); at += rowBytes) filtered += '\0' + rows.substr(at, rowBytes);
    uLongf size = compressBound(filtered.size());
    std::string packed(size, '\0');
    compress(reinterpret_cast<Bytef*>(packed.data()), &size, reinterpret_cast<const Bytef*>(filtered.data()),
             filtered.size());
    packed.resize(size);
    return "\x89PNG\r\n\x1a\n" + pngChunk("IHDR", header) + chunks + pngChunk("IDAT", packed) + pngChunk("IEND", "");
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
