// The three shading modes and the one that is active.
#pragma once

#include <vector>

#include "geometry/vector3.h"
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

// Hands the eye position, in single precision, to the program's
// "CAMERA_POSITION": the one uniform the viewer sets.
void setCameraPosition(GLuint program, const Vector3& eye);
