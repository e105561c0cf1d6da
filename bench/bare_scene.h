// The scene's own drawing with nothing of the viewer around it: the floor
// that the viewer's frame loop is measured against.
#pragma once

#include <string>

class Camera;

// The gluLookAt arguments of the view, taken once from a camera.
struct BareView {
    double eye[3];
    double target[3];
    double up[3];
};

BareView viewOf(const Camera& camera);

// One frame of the default scene (fixed pipeline, base plane shown, every
// other debug overlay off) as raw GL, GLU and GLUT calls in the viewer's
// order and with its constants. Leaves the GL state as it found it, like the
// viewer's own frame, so both can run in turns in one context.
void drawBareScene(const BareView& view);

// The frame-rate text as the viewer draws it: bitmap characters in the
// 500 x 500 orthographic overlay at (10, 10), white, unlit, depth test on.
void drawBareText(const std::string& text);
