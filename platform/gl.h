// The OpenGL headers as the viewer uses them: the extension loader first (it
// must precede any other GL header), then GLU, then GLUT's geometry and font
// routines. On Windows <windows.h> has to come before all of them.
#pragma once

#ifdef _WIN32
#include <windows.h>
#endif

#include <epoxy/gl.h>
#include <GL/glu.h>
#include <GL/freeglut_std.h>
