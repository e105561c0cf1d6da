// Raw RGB files made into textures: row order, long, short, missing and
// unreadable files (a named pipe among them), the sampling parameters, and
// the shipped stripes file.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "render/texture.h"
#include "tests/support/named_pipe.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/test_window.h"

namespace {

using Bytes = std::vector<unsigned char>;

// 40 x 40 pixels: the first `redRows` rows red, the rest blue.
Bytes redThenBlue(int redRows) {
    Bytes pixels;
    for (int row = 0; row < 40; ++row) {
        for (int column = 0; column < 40; ++column) {
            pixels.insert(pixels.end(), {static_cast<unsigned char>(row < redRows ? 255 : 0), 0,
                                         static_cast<unsigned char>(row < redRows ? 0 : 255)});
        }
    }
    return pixels;
}

class TextureFile : public ::testing::Test {
protected:
    std::string write(const std::string& name, const Bytes& bytes) {
        const std::string path = testing::TempDir() + name;
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                     static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    // Level 0 as stored, RGB, bottom (t = 0) row first.
    static Bytes level0(int* size) {
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, size);
        Bytes pixels(static_cast<size_t>(*size) * *size * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }

    static void expectRow(const Bytes& pixels, int size, int row, int r, int g, int b) {
        for (int column = 0; column < size; ++column) {
            const unsigned char* p = &pixels[(static_cast<size_t>(row) * size + column) * 3];
            ASSERT_EQ((std::vector<int>{p[0], p[1], p[2]}), (std::vector<int>{r, g, b}))
                << "row " << row << ", column " << column;
        }
    }

    TestWindow window;
};

TEST_F(TextureFile, FirstRowsOfTheFileLieAtTZero) {
    Texture texture(write("red-blue.raw", redThenBlue(20)), 40, 40);
    ASSERT_NE(texture.id, 0u);
    int size;
    const Bytes pixels = level0(&size);
    expectRow(pixels, size, 0, 255, 0, 0);
    expectRow(pixels, size, size - 1, 0, 0, 255);
}

TEST_F(TextureFile, BytesPastTheImageAreIgnored) {
    int size;
    Texture exact(write("exact.raw", redThenBlue(20)), 40, 40);
    const Bytes fromExact = level0(&size);
    Bytes longer = redThenBlue(20);
    longer.insert(longer.end(), 300, 0x7f);
    Texture fromLonger(write("longer.raw", longer), 40, 40);
    EXPECT_EQ(level0(&size), fromExact);
}

TEST_F(TextureFile, PixelsAShortFileLacksAreBlack) {
    Bytes half = redThenBlue(40);
    half.resize(half.size() / 2);
    const std::string path = write("short.raw", half);
    Texture texture(path, 40, 40);
    ASSERT_NE(texture.id, 0u);
    int size;
    const Bytes pixels = level0(&size);
    expectRow(pixels, size, 0, 255, 0, 0);
    expectRow(pixels, size, size - 1, 0, 0, 0);

    // The reader itself clears what the file lacks: a reused buffer must not
    // show its old contents where a new Texture's buffer would be zero anyway.
    Bytes dirty(40 * 40 * 3, 0xAB);
    ASSERT_TRUE(readRawImage(path, dirty));
    EXPECT_EQ(Bytes(dirty.begin(), dirty.begin() + half.size()), half);
    EXPECT_EQ(std::count(dirty.begin() + half.size(), dirty.end(), 0), static_cast<long>(dirty.size() - half.size()));
}

TEST_F(TextureFile, MissingFileDirectoryOrNamedPipeMakesNoTexture) {
    ScratchFolder folder;
    const std::string pipe = folder / "pipe.raw";
    ASSERT_TRUE(makeNamedPipe(pipe));
    std::vector<unsigned char> pixels(40 * 40 * 3);
    bool read = true;
    EXPECT_TRUE(finishesWithoutAWriter(pipe, [&] { read = readRawImage(pipe, pixels); }));
    EXPECT_FALSE(read);

    for (const std::string& path : {testing::TempDir() + "no-such.raw", testing::TempDir()}) {
        SCOPED_TRACE(path);
        Texture texture(path, 40, 40);
        EXPECT_EQ(texture.id, 0u);
        GLint bound = -1;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(bound, 0);
        EXPECT_FALSE(glIsTexture(1));
    }
}

TEST_F(TextureFile, MipmappedLinearAndRepeatingInBothDirections) {
    Texture texture(write("params.raw", redThenBlue(20)), 40, 40);
    const auto parameter = [](GLenum name) {
        GLint value = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
        return value;
    };
    EXPECT_EQ(parameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_NEAREST);
    EXPECT_EQ(parameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(parameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(parameter(GL_TEXTURE_WRAP_T), GL_REPEAT);
    GLint mode = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
    EXPECT_EQ(mode, GL_MODULATE);
}

// The shipped texture is exactly what its generator writes.
TEST(StripesFile, IsRegeneratedByteForByteByItsScript) {
    const std::string copy = testing::TempDir() + "stripes.raw";
    ASSERT_EQ(std::system(("python3 tools/make-stripes.py " + copy).c_str()), 0);
    const auto read = [](const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(file), {});
    };
    const Bytes shipped = read("resources/textures/stripes.raw");
    EXPECT_EQ(shipped.size(), 4800u);
    EXPECT_EQ(read(copy), shipped);
}

}  // namespace
