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

// Where the white pixels of the lower-left corner lie.
struct WhiteBox {
    int left = INT_MAX;
    int right = -1;
    int bottom = INT_MAX;
};

WhiteBox whiteBox(const std::vector<unsigned char>& pixels, int side) {
    WhiteBox box;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const unsigned char* p = &pixels[(static_cast<size_t>(y) * side + x) * 3];
            if (p[0] == 255 && p[1] == 255 && p[2] == 255) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.bottom = std::min(box.bottom, y);
            }
        }
    }
    return box;
}

TEST_F(FpsOverlay, TextKeepsTenUnitsOfTheStored500FromTheCornerAfterAResize) {
    const int side = 120;

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    application->drawFps();
    WhiteBox box = whiteBox(window->readPixels(GL_BACK, 0, 0, side, side), side);
    EXPECT_NEAR(box.left, 10, 2);
    EXPECT_NEAR(box.bottom, 10, 3);

    reshape(1000, 1000);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    application->drawFps();
    box = whiteBox(window->readPixels(GL_BACK, 0, 0, side, side), side);
    EXPECT_NEAR(box.left, 20, 2);
    EXPECT_NEAR(box.bottom, 20, 3);
    EXPECT_EQ(application->width, 500);
    EXPECT_EQ(application->height, 500);
    // The glyphs keep their 8 x 13 pixel cell: "FPS: 0" is six cells wide.
    EXPECT_GT(box.right - box.left, 5 * 8 - 8);
    EXPECT_LT(box.right - box.left, 6 * 8);

    // The text is made again once the rate changes: "FPS: 1234.5", eleven cells.
    application->setFps(1234.5678);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    application->drawFps();
    box = whiteBox(window->readPixels(GL_BACK, 0, 0, side, side), side);
    EXPECT_GT(box.right - box.left, 10 * 8 - 8);
    EXPECT_LT(box.right - box.left, 11 * 8);
}

}  // namespace
