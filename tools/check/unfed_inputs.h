// Warnings for what a linked program reads but the viewer never feeds: every
// uniform but CAMERA_POSITION (samplers excepted, which read the stripes on
// texture unit 0) and every generic vertex attribute. Such a program links
// and then draws with zeros, often nothing at all.
#pragma once

#include "platform/gl.h"
#include "tools/shader_report/build_report.h"

// Asks the program itself for its active uniforms and attributes, so only
// what the shaders really use counts; each warning points at the
// declaration in the file that declares it.
void addUnfedInputWarnings(GLuint program, ProgramReport& report);
