// PNG files as verrine-shot reads them: any encoding by its pixels.
#include <gtest/gtest.h>

#include <initializer_list>

#include "tests/support/image.h"
#include "tests/tools/tool_process.h"

namespace {

std::string bytes(std::initializer_list<int> values) {
    std::string text;
    for (int value : values) text += static_cast<char>(value);
    return text;
}

// Two pixels in each encoding, and the 8-bit RGB each must read as: values
// as stored (16 bits scaled, no gamma), alpha composed over black.
struct Encoding {
    const char* name;
    int depth;
    int colourType;
    std::string chunks;
    std::string rows;
    std::string expected;
};

const std::string kRgb = bytes({10, 20, 30, 200, 100, 50});
const std::string kPalette = pngChunk("PLTE", kRgb);

const Encoding kEncodings[] = {
    {"Rgb8", 8, 2, "", kRgb, kRgb},
    {"Rgb16", 16, 2, "", bytes({10, 10, 20, 20, 30, 30, 200, 200, 100, 100, 50, 50}), kRgb},
    {"Rgb8WithGamma", 8, 2, pngChunk("gAMA", bytes({0, 1, 0x86, 0xA0})), kRgb, kRgb},
    {"Grey8", 8, 0, "", bytes({7, 250}), bytes({7, 7, 7, 250, 250, 250})},
    {"Grey1", 1, 0, "", bytes({0x80}), bytes({255, 255, 255, 0, 0, 0})},
    {"Grey16", 16, 0, "", bytes({7, 7, 250, 250}), bytes({7, 7, 7, 250, 250, 250})},
    {"GreyAlpha8", 8, 4, "", bytes({100, 255, 100, 0}), bytes({100, 100, 100, 0, 0, 0})},
    {"Palette", 8, 3, kPalette, bytes({0, 1}), kRgb},
    {"PaletteWithTransparency", 8, 3, kPalette + pngChunk("tRNS", bytes({255, 128})), bytes({0, 1}),
     bytes({10, 20, 30, 100, 50, 25})},
    {"Rgba8", 8, 6, "", bytes({10, 20, 30, 255, 200, 100, 50, 0}), bytes({10, 20, 30, 0, 0, 0})},
    {"Rgba16", 16, 6, "", bytes({10, 10, 20, 20, 30, 30, 255, 255, 200, 200, 100, 100, 50, 50, 255, 255}), kRgb},
};

TEST(PngFile, AnyEncodingComparesByItsPixels) {
    ScratchFolder scratch;
    for (const Encoding& encoding : kEncodings) {
        const std::string path = scratch.write(std::string(encoding.name) + ".png",
                                               pngFile(2, 1, encoding.depth, encoding.colourType, encoding.rows,
                                                       encoding.chunks));
        Picture read;
        std::string problem;
        ASSERT_TRUE(readPng(path, read, problem)) << encoding.name << ": " << problem;
        EXPECT_EQ(std::string(read.rgb.begin(), read.rgb.end()), encoding.expected) << encoding.name;
    }
    // A shot compared with itself in 16 bits matches exactly.
    ASSERT_EQ(runProgram({VERRINE_SHOT_PATH, scratch / "shot.png", "--size", "6x4"}, VERRINE_SOURCE_DIR).status, 0);
    const Picture shot = readPng(scratch / "shot.png").value_or(Image()).picture();
    std::string wide;
    for (unsigned char value : shot.rgb) wide += {static_cast<char>(value), static_cast<char>(value)};
    const std::string reference = scratch.write("wide.png", pngFile(6, 4, 16, 2, wide, ""));
    const ProcessResult same = runProgram(
        {VERRINE_SHOT_PATH, scratch / "again.png", "--size", "6x4", "--compare", reference, "--fuzz", "0"},
        VERRINE_SOURCE_DIR);
    EXPECT_EQ(same.status, 0) << same.err;
}

}  // namespace
