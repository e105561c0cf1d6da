// Most shaders found online are not desktop GLSL 1.10/1.20 reading OpenGL's
// built-in state, which is all the viewer feeds. This names the GLSL a file
// was written for, once per program, at the line that shows it, with the
// smallest change that makes it fit:
//   - GLSL ES (#version 100, #version 300 es, or precision statements);
//   - the core profile (#version 150 and later without "compatibility");
//   - desktop GLSL with its own attributes and matrices (the WebGL and
//     tutorial style), seen in the warnings about inputs never fed.
// Where the file did not compile the note comes right after its first error,
// so the cause is read before the noise.
#pragma once

#include "tools/shader_report/build_report.h"

// Call after the warnings about unfed inputs have been added.
void addDialectNotes(ProgramReport& program);
