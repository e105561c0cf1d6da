// The stripes texture: a headerless raw RGB file made into a mipmapped
// OpenGL texture that stays bound for the life of the process.
#include "render/texture.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

Texture::Texture(std::string fileName, int width, int height, SceneReader* reader)
    : width(width), height(height) {
    load(fileName, reader);
}

bool readRawImage(const std::string& fileName, std::vector<unsigned char>& pixels) {
    // Only a regular file: a named pipe would hold start-up until something
    // writes to it. Anything else counts as no file at all.
    std::error_code unused;
    if (!std::filesystem::is_regular_file(fileName, unused)) {
        return false;
    }
    std::FILE* file = std::fopen(fileName.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    // Zeroed, so pixels that a short file does not supply come out black
    // instead of whatever the heap held.
    std::fill(pixels.begin(), pixels.end(), 0);
    // Bytes past the array's size are ignored; a short read is not an error,
    // but a read error that cut it short counts as no file at all.
    const std::size_t bytesRead = std::fread(pixels.data(), 1, pixels.size(), file);
    const bool unreadable = bytesRead < pixels.size() && std::ferror(file) != 0;
    std::fclose(file);
    return !unreadable;
}

void Texture::load(std::string fileName, SceneReader* reader) {
    std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * height * 3);
    if (!(reader != nullptr ? reader->readRawImage(fileName, pixels) : readRawImage(fileName, pixels))) {
        return;
    }

    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    // The lit colour of the teapot is multiplied by the texel.
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, static_cast<GLfloat>(GL_MODULATE));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
                    static_cast<GLfloat>(GL_LINEAR_MIPMAP_NEAREST));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLfloat>(GL_LINEAR));
    // T is left at OpenGL's default, which is GL_REPEAT as well.
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLfloat>(GL_REPEAT));
    // No pixel-store call: rows are read with the default unpack alignment of
    // 4, which the 40-pixel rows (120 bytes) meet. GLU rescales 40 x 40 to a
    // power of two and builds every level.
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
}
