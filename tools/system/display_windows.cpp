#include "tools/system/display.h"

// GLUT was started during static initialisation, with DISPLAY hidden from it
// (platform/windows/start_glut.cpp, linked into the program).
void requireGlutDisplay() {}
