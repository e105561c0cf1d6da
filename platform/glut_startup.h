// freeglut stops the process when one of its geometry or font routines runs
// before glutInit; the viewer uses those routines and nothing else of GLUT.
#pragma once

// Calls glutInit once, however often it is called. No GLUT window is made.
void startGlut();
