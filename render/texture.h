// An OpenGL texture made from a headerless raw RGB file.
#pragma once

#include <string>
#include <vector>

#include "platform/gl.h"
#include "render/scene_reader.h"

class Texture {
public:
    // With a reader, the pixels come from it instead of readRawImage.
    Texture(std::string fileName, int width, int height, SceneReader* reader = nullptr);

    void load(std::string fileName, SceneReader* reader = nullptr);

    GLuint id = 0;   // stays 0 when the file could not be read
    int width;
    int height;
};

// Fills pixels from the start of a headerless file: black where the file is
// shorter, the rest of a longer file ignored. False when the path is not a
// regular file (a directory or a named pipe, say) or cannot be opened or read;
// the pixels are then not to be used.
bool readRawImage(const std::string& fileName, std::vector<unsigned char>& pixels);
