// RGB pictures taken from the screen, PNG files, and the few measurements
// the end-to-end tests make on them.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tools/shot/png_file.h"

struct Rgb {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
};

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool contains(int px, int py) const { return px >= x && px < x + width && py >= y && py < y + height; }
    bool operator==(const Rect& other) const {
        return x == other.x && y == other.y && width == other.width && height == other.height;
    }
};

// verrine-shot's picture, rows top to bottom, three bytes a pixel, with
// access by pixel; the tests read, write and compare pictures with the
// tool's own code.
class Image {
public:
    Image() = default;
    Image(int width, int height) : picture_{width, height, std::vector<unsigned char>(3u * width * height)} {}
    explicit Image(Picture picture) : picture_(std::move(picture)) {}

    int width() const { return picture_.width; }
    int height() const { return picture_.height; }
    bool empty() const { return picture_.rgb.empty(); }
    const Picture& picture() const { return picture_; }
    Rgb at(int x, int y) const;
    void set(int x, int y, Rgb colour);
    Image cropped(const Rect& area) const;
    bool operator==(const Image& other) const;
    bool operator!=(const Image& other) const { return !(*this == other); }

private:
    Picture picture_;
};

bool writePng(const Image& image, const std::string& path);

// A PNG file of any encoding, put together byte by byte, as libpng's simple
// writer makes few of them: IHDR with `depth` and `colourType`, then
// `chunks` (PLTE, tRNS, gAMA, each made by pngChunk), the `rows` as they are
// (without their filter bytes) in one IDAT, and IEND.
std::string pngChunk(const std::string& type, const std::string& data);
std::string pngFile(uint32_t width, uint32_t height, int depth, int colourType, const std::string& rows,
                    const std::string& chunks);
std::optional<Image> readPng(const std::string& path);

// How far two pictures of the same size differ. A pixel differs when one of
// its channels differs by more than the tolerance; pixels inside an ignored
// rectangle never do. The picture shows the expected image faded, with the
// differing pixels in magenta.
struct ImageDifference {
    int differingPixels = 0;
    Image picture;
};
ImageDifference compareImages(const Image& actual, const Image& expected, const std::vector<Rect>& ignored,
                              int channelTolerance);

// The pixels a predicate selects: how many, their centroid and their
// bounding box.
struct PixelRegion {
    int count = 0;
    double centroidX = 0.0;
    double centroidY = 0.0;
    Rect bounds;
};
PixelRegion measurePixels(const Image& image, const std::function<bool(Rgb)>& selects);
