// An OpenGL texture made from a headerless raw RGB file.
#pragma once

#include <string>

#include "platform/gl.h"

class Texture {
public:
    Texture(std::string fileName, int width, int height);

    void load(std::string fileName);

    GLuint id = 0;   // stays 0 when the file could not be read
    int width;
    int height;
};
