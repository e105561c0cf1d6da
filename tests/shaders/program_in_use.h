// The program object in use, as OpenGL reports it.
#pragma once

#include "platform/gl.h"

inline GLuint programInUse() {
    GLint program = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    return static_cast<GLuint>(program);
}
