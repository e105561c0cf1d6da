// The three shading modes and the one that is active.
#pragma once

#include <vector>

#include "shaders/shader_program.h"

class ShaderSet {
public:
    ShaderSet();

    void loadPrograms();
    void setMode(int id);
    GLuint currentProgram();

    ShaderMode currentMode;
    std::vector<ShaderProgram> programs;
};
