// The standing GL state after start-up, and the projection following resizes.
#include <cmath>

#include "render/gl_state.h"
#include "tests/render/render_fixture.h"

namespace {

// The diagonal terms of gluPerspective(60, aspect, 0.09, 1000) that depend on
// the aspect ratio and the depth range.
void expectPerspective(double aspect) {
    const double f = 1.0 / std::tan(30.0 * M_PI / 180.0);
    GLdouble m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    EXPECT_NEAR(m[0], f / aspect, 1e-5);
    EXPECT_NEAR(m[5], f, 1e-5);
    EXPECT_NEAR(m[10], (1000.0 + 0.09) / (0.09 - 1000.0), 1e-5);
    EXPECT_NEAR(m[14], 2.0 * 1000.0 * 0.09 / (0.09 - 1000.0), 1e-5);
    EXPECT_EQ(m[11], -1.0);
}

void expectViewport(int width, int height) {
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 0);
    EXPECT_EQ(viewport[1], 0);
    EXPECT_EQ(viewport[2], width);
    EXPECT_EQ(viewport[3], height);
}

GLint matrixMode() {
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    return mode;
}

using GLState = RenderTest;

TEST_F(GLState, StartUpLeavesDepthLightingAndThePerspective) {
    EXPECT_EQ(app->width, 500);
    EXPECT_EQ(app->height, 500);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_FLOAT_EQ(clear[0], 0.49f);
    EXPECT_FLOAT_EQ(clear[1], 0.49f);
    EXPECT_FLOAT_EQ(clear[2], 0.49f);
    EXPECT_FLOAT_EQ(clear[3], 1.0f);
    expectViewport(500, 500);
    expectPerspective(1.0);
    EXPECT_EQ(matrixMode(), GL_MODELVIEW);
}

TEST_F(GLState, ReshapeFollowsTheClientAreaInDoublePrecision) {
    reshape(1000, 500);
    expectViewport(1000, 500);
    GLdouble m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    EXPECT_EQ(m[5] / m[0], 2.0);
    EXPECT_EQ(matrixMode(), GL_MODELVIEW);

    // An integer division would give an aspect of 0 here.
    reshape(333, 500);
    expectViewport(333, 500);
    expectPerspective(333.0 / 500.0);

    // The stored overlay extent never follows the window.
    EXPECT_EQ(app->width, 500);
    EXPECT_EQ(app->height, 500);
}

TEST_F(GLState, ReshapeIgnoresHeightZeroButPassesWidthZeroOn) {
    reshape(1000, 500);
    reshape(640, 0);
    expectViewport(1000, 500);
    expectPerspective(2.0);

    reshape(0, 500);
    expectViewport(0, 500);
    EXPECT_EQ(matrixMode(), GL_MODELVIEW);
}

}  // namespace
