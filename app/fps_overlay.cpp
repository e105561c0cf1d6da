// The frame-rate text in the lower-left corner, drawn last in every frame.

#include <sstream>

#include "app/application.h"
#include "platform/gl.h"

namespace {
constexpr std::size_t kFpsDigits = 6;
}

std::string fpsText(double rate) {
    std::ostringstream stream;
    stream << rate;
    // Cut, not rounded again: 123.457 is shown as 123.45.
    return "FPS: " + stream.str().substr(0, kFpsDigits);
}

void Application::drawFps() {
    beginOverlay();
    // The rate changes at most every 40 ms; the stream, its code cold in the
    // middle of a frame, cost 1.5 % of the frame rate when used every frame.
    if (fpsLabel.empty() || fps != fpsLabelRate) {
        fpsLabel = fpsText(fps);
        fpsLabelRate = fps;
    }
    drawText(10, 10, fpsLabel);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

// The overlay spans the stored 500 x 500 whatever the window's real size, so
// the text's position scales with the window while its glyphs do not.
void Application::beginOverlay() {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, width, 0, height, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
}

void Application::drawText(int x, int y, std::string text) {
    // Only lighting goes off around the text; depth testing stays on.
    glDisable(GL_LIGHTING);
    glColor3f(1.0f, 1.0f, 1.0f);
    glRasterPos2f(static_cast<float>(x), static_cast<float>(y));
    for (char character : text) {
        glutBitmapCharacter(GLUT_BITMAP_8_BY_13, static_cast<int>(static_cast<signed char>(character)));
    }
    glEnable(GL_LIGHTING);
}
