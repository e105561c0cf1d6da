// The frame-rate overlay: the state it leaves and where its text lands.

#include <climits>

#include "render/gl_state.h"
#include "tests/app/app_fixture.h"

namespace {

class FpsOverlay : public AppTest {
protected:
    // Large enough for a 1000 x 1000 client area with the menu bar attached.
    FpsOverlay() {
        width = 1040;
        height = 1080;
    }
};

GLint integer(GLenum name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

TEST_F(FpsOverlay, LeavesStacksMatrixModeAndLightingAsFound) {
    application->camera->applyView();
    GLdouble viewBefore[16], viewAfter[16], projectionBefore[16], projectionAfter[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, viewBefore);
    glGetDoublev(GL_PROJECTION_MATRIX, projectionBefore);
    const GLint modelviewDepth = integer(GL_MODELVIEW_STACK_DEPTH);
    const GLint projectionDepth = integer(GL_PROJECTION_STACK_DEPTH);

    application->setFps(59.94012);
    application->drawFps();

    EXPECT_EQ(integer(GL_MODELVIEW_STACK_DEPTH), modelviewDepth);
    EXPECT_EQ(integer(GL_PROJECTION_STACK_DEPTH), projectionDepth);
    EXPECT_EQ(integer(GL_MATRIX_MODE), GL_MODELVIEW);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    glGetDoublev(GL_MODELVIEW_MATRIX, viewAfter);
    glGetDoublev(GL_PROJECTION_MATRIX, projectionAfter);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(viewAfter[i], viewBefore[i]) << i;
        EXPECT_EQ(projectionAfter[i], projectionBefore[i]) << i;
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// The lowest and leftmost white pixels of the lower-left corner.
void whiteCorner(const std::vector<unsigned char>& pixels, int side, int* left, int* bottom) {
    *left = INT_MAX;
    *bottom = INT_MAX;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const unsigned char* p = &pixels[(static_cast<size_t>(y) * side + x) * 3];
            if (p[0] == 255 && p[1] == 255 && p[2] == 255) {
                *left = std::min(*left, x);
                *bottom = std::min(*bottom, y);
            }
        }
    }
}

TEST_F(FpsOverlay, TextKeepsTenUnitsOfTheStored500FromTheCornerAfterAResize) {
    const int side = 120;
    int left, bottom;

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    application->drawFps();
    whiteCorner(window->readPixels(GL_BACK, 0, 0, side, side), side, &left, &bottom);
    EXPECT_NEAR(left, 10, 2);
    EXPECT_NEAR(bottom, 10, 3);

    reshape(1000, 1000);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    application->drawFps();
    whiteCorner(window->readPixels(GL_BACK, 0, 0, side, side), side, &left, &bottom);
    EXPECT_NEAR(left, 20, 2);
    EXPECT_NEAR(bottom, 20, 3);
    EXPECT_EQ(application->width, 500);
    EXPECT_EQ(application->height, 500);

    // The glyphs keep their 8 x 13 pixel cell: "FPS: 0" is six cells wide.
    int right = -1;
    const std::vector<unsigned char> pixels = window->readPixels(GL_BACK, 0, 0, side, side);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const unsigned char* p = &pixels[(static_cast<size_t>(y) * side + x) * 3];
            if (p[0] == 255 && p[1] == 255 && p[2] == 255) right = std::max(right, x);
        }
    }
    EXPECT_GT(right - left, 5 * 8 - 8);
    EXPECT_LT(right - left, 6 * 8);
}

}  // namespace
