// The render tests' setting: the viewer's Application in a window large
// enough for its 500 x 500 viewport, and probes of the frame it draws.
#pragma once

#include <vector>

#include "tests/app/app_fixture.h"
#include "tests/support/scene_pixels.h"

class RenderTest : public AppTest {
protected:
    // Larger than the viewport, so the whole 500 x 500 frame lies inside the
    // client area and can be read back.
    RenderTest() {
        width = 640;
        height = 640;
    }

    void SetUp() override {
        AppTest::SetUp();
        app = application;
    }

    // The scene's part of a frame, without the frame-rate text, left in the
    // back buffer.
    void drawFrame() {
        app->camera->applyView();
        app->drawScene();
        app->camera->drawRotationPoint();
    }

    // Places the eye directly; the camera's own constructor aims only
    // approximately at an arbitrary eye point.
    void lookAt(Vector3 eye, Vector3 centre) {
        app->camera->position = eye;
        app->camera->rotationPoint = centre;
        app->camera->up = Vector3(0.0, 1.0, 0.0);
    }

    std::vector<unsigned char> readFrame() { return window->readPixels(GL_BACK, 0, 0, 500, 500); }

    // Window position (and depth) of a world point under the view matrix the
    // frame left.
    static void project(double x, double y, double z, int* windowX, int* windowY,
                        double* depth = nullptr) {
        GLdouble modelview[16], projection[16], wx, wy, wz;
        GLint viewport[4];
        glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        glGetIntegerv(GL_VIEWPORT, viewport);
        gluProject(x, y, z, modelview, projection, viewport, &wx, &wy, &wz);
        *windowX = static_cast<int>(wx);
        *windowY = static_cast<int>(wy);
        if (depth != nullptr) *depth = wz;
    }

    static Rgb pixel(const std::vector<unsigned char>& frame, int x, int y) {
        const unsigned char* p = &frame[(static_cast<size_t>(y) * 500 + x) * 3];
        return {p[0], p[1], p[2]};
    }

    static bool matches(Rgb actual, Rgb expected) { return isNear(actual, expected, 2); }

    // Pixels of the colour within `radius` of the projection of a world
    // point; lines need not pass through the exact projected pixel.
    int countNear(const std::vector<unsigned char>& frame, double x, double y, double z, Rgb colour,
                  int radius = 2) {
        int centreX, centreY, count = 0;
        project(x, y, z, &centreX, &centreY);
        for (int py = centreY - radius; py <= centreY + radius; ++py) {
            for (int px = centreX - radius; px <= centreX + radius; ++px) {
                if (px >= 0 && py >= 0 && px < 500 && py < 500 && matches(pixel(frame, px, py), colour)) {
                    ++count;
                }
            }
        }
        return count;
    }

    static int countAll(const std::vector<unsigned char>& frame, Rgb colour) {
        int count = 0;
        for (size_t i = 0; i < frame.size(); i += 3) {
            count += matches({frame[i], frame[i + 1], frame[i + 2]}, colour);
        }
        return count;
    }

    Application* app = nullptr;  // never destroyed, like the viewer's
};
