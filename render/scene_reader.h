// Where a build of the scene takes its files from (the stripes texture, the
// shader sources), in place of opening them by name. The tools pass one that
// reads each file through one descriptor and remembers what it found; the
// viewer passes none and reads by name.
#pragma once

#include <string>
#include <vector>

class SceneReader {
public:
    // A shader source's text as ShaderProgram::readSource makes it, without
    // its traces. Called right before the driver compiles that text.
    virtual std::string readSource(const std::string& path) = 0;
    // Pixels with readRawImage's contract (render/texture.h).
    virtual bool readRawImage(const std::string& fileName, std::vector<unsigned char>& pixels) = 0;

protected:
    ~SceneReader() = default;
};
