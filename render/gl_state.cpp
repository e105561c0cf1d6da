// The standing OpenGL state and the perspective projection that follows the
// window's client area.
#include "render/gl_state.h"

#include "platform/gl.h"

namespace {

constexpr double kFieldOfViewDegrees = 60.0;
constexpr double kNearPlane = 0.09;
constexpr double kFarPlane = 1000.0;

// Viewport and perspective for a client area; leaves GL_MODELVIEW current,
// which every drawing step relies on.
void setViewportAndPerspective(int width, int height) {
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // Double division: an integer one would give 0 for any portrait window.
    gluPerspective(kFieldOfViewDegrees, static_cast<double>(width) / height, kNearPlane,
                   kFarPlane);
    glMatrixMode(GL_MODELVIEW);
}

}  // namespace

void initGLState(int width, int height) {
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glClearColor(0.49f, 0.49f, 0.49f, 1.0f);
    setViewportAndPerspective(width, height);
}

void clearFrame() { glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); }

void reshape(int width, int height) {
    // A minimised window reports 0 x 0; keep the last projection rather than
    // divide by zero.
    if (height == 0) {
        return;
    }
    setViewportAndPerspective(width, height);
}
