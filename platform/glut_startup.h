// freeglut stops the process when one of its geometry or font routines runs
// before glutInit; the viewer uses those routines and nothing else of GLUT.
#pragma once

#include "platform/gl.h"

// Calls glutInit once, however often it is called. No GLUT window is made.
// glutInit reads its options from the command line; the viewer's is
// ignored, so it gets just a program name.
inline void startGlut() {
    static bool started = false;
    if (started) return;
    started = true;
    char name[] = "verrine";
    char* arguments[] = {name, nullptr};
    int count = 1;
    glutInit(&count, arguments);
}
