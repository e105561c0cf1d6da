// Frames of the viewer's scene: the state each frame leaves, what lands on
// screen, the light under a turning scene, and the debug overlays.
#include <cmath>

#include "tests/render/render_fixture.h"

namespace {

using SceneFrame = RenderTest;

GLint integer(GLenum name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

TEST_F(SceneFrame, EveryFrameLeavesTheStandingStateWithOrWithoutOverlays) {
    for (bool overlays : {false, true}) {
        SCOPED_TRACE(overlays ? "all overlays on" : "all overlays off");
        options->showLightLocations = options->showAxis = options->showBasePlane = overlays;
        options->rotateScene = options->showRotationPoint = overlays;
        app->camera->moved = overlays;
        const GLint modelviewDepth = integer(GL_MODELVIEW_STACK_DEPTH);
        const GLint projectionDepth = integer(GL_PROJECTION_STACK_DEPTH);
        app->camera->applyView();
        GLfloat view[16], after[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, view);

        app->drawScene();
        app->camera->drawRotationPoint();

        EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
        EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
        EXPECT_EQ(integer(GL_MATRIX_MODE), GL_MODELVIEW);
        EXPECT_EQ(integer(GL_MODELVIEW_STACK_DEPTH), modelviewDepth);
        EXPECT_EQ(integer(GL_PROJECTION_STACK_DEPTH), projectionDepth);
        glGetFloatv(GL_MODELVIEW_MATRIX, after);
        for (int i = 0; i < 16; ++i) EXPECT_EQ(after[i], view[i]) << "element " << i;
    }
}

TEST_F(SceneFrame, DefaultViewShowsAGreyCubeAndAStripedTeapotOnTheGrid) {
    drawFrame();
    const auto frame = readFrame();
    EXPECT_TRUE(matches(pixel(frame, 5, 495), kViewerBackground));
    EXPECT_GT(countNear(frame, 0.0, 0.0, 1.6, kGridGrey, 1), 0) << "grid crossing";

    int x, y;
    project(0.5, 0.25, 0.0, &x, &y);
    const Rgb cube = pixel(frame, x, y);
    EXPECT_FALSE(matches(cube, kViewerBackground));
    EXPECT_TRUE(cube.red == cube.green && cube.green == cube.blue) << "the cube is drawn untextured";

    project(-0.5, 0.38, 0.0, &x, &y);
    const Rgb teapot = pixel(frame, x, y);
    EXPECT_FALSE(matches(teapot, kViewerBackground));
    EXPECT_TRUE(isStripeColour(teapot)) << "the teapot carries the stripes";
}

TEST_F(SceneFrame, AxisLinesShowThroughTheCubeInFrontOfThem) {
    // Seen from +x the cube stands between the eye and the origin.
    lookAt(Vector3(2.0, 0.2, 0.0), Vector3(0.0, 0.0, 0.0));
    drawFrame();
    EXPECT_EQ(countNear(readFrame(), 0.0, 0.05, 0.0, kAxisGreen), 0);
    int x, y;
    double axisDepth;
    project(0.0, 0.05, 0.0, &x, &y, &axisDepth);
    GLfloat sceneDepth = 1.0f;
    glReadPixels(x, y, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &sceneDepth);
    ASSERT_LT(sceneDepth, axisDepth) << "the cube hides the axis' place";

    options->showAxis = true;
    drawFrame();
    EXPECT_GT(countNear(readFrame(), 0.0, 0.05, 0.0, kAxisGreen), 0);
}

TEST_F(SceneFrame, LightMarkerSitsAtTheLightAndHidesBehindTheCube) {
    options->showLightLocations = true;
    drawFrame();
    EXPECT_GT(countNear(readFrame(), 1.0, 1.0, 2.0, kLightMarkerYellow), 0);

    // Looking at the cube's centre from the side away from the light.
    lookAt(Vector3(0.25, -0.125, -1.0), Vector3(0.5, 0.25, 0.0));
    drawFrame();
    EXPECT_EQ(countAll(readFrame(), kLightMarkerYellow), 0);
}

TEST_F(SceneFrame, LightStaysAtItsWorldPositionWhileTheSceneTurns) {
    options->rotateScene = true;
    for (int frame = 0; frame < 90; ++frame) {
        app->camera->applyView();
        app->drawScene();
    }
    GLfloat view[16], light[4];
    glGetFloatv(GL_MODELVIEW_MATRIX, view);
    glGetLightfv(GL_LIGHT0, GL_POSITION, light);
    const float world[4] = {1.0f, 1.0f, 2.0f, 1.0f};
    for (int row = 0; row < 4; ++row) {
        float expected = 0.0f;
        for (int column = 0; column < 4; ++column) expected += view[column * 4 + row] * world[column];
        EXPECT_NEAR(light[row], expected, 1e-5) << "row " << row;
    }
}

TEST_F(SceneFrame, RotationStepsHalfADegreeKeepsThreeSixtyAndWrapsPastIt) {
    const auto turn = [this] {
        glPushMatrix();
        glLoadIdentity();
        app->scene->applyRotation();
        GLfloat m[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        glPopMatrix();
        return std::asin(m[8]) * 180.0 / M_PI;   // sine of the angle about +y
    };
    options->rotateScene = true;
    for (int frame = 0; frame < 720; ++frame) turn();
    EXPECT_EQ(app->scene->rotationAngle, 360.0f);
    turn();
    EXPECT_EQ(app->scene->rotationAngle, 0.5f);

    options->rotateScene = false;
    EXPECT_EQ(turn(), 0.0);
    EXPECT_EQ(app->scene->rotationAngle, 0.5f);

    options->rotateScene = true;
    EXPECT_NEAR(turn(), 1.0, 1e-4);
    EXPECT_EQ(app->scene->rotationAngle, 1.0f);
}

TEST_F(SceneFrame, SwitchingRotationOffShowsTheUnturnedScene) {
    drawFrame();
    const auto unturned = readFrame();
    options->rotateScene = true;
    for (int frame = 0; frame < 60; ++frame) drawFrame();
    EXPECT_NE(readFrame(), unturned);

    options->rotateScene = false;
    drawFrame();
    EXPECT_EQ(readFrame(), unturned);
}

TEST_F(SceneFrame, RotationPointMarkerShowsOnlyInFramesTheCameraMoved) {
    drawFrame();
    EXPECT_EQ(countAll(readFrame(), kRotationMarkerPink), 0);

    app->mouseDrag(5.0f, 0.0f);
    drawFrame();
    EXPECT_GT(countNear(readFrame(), 0.0, 0.0, 0.0, kRotationMarkerPink), 0);
    EXPECT_FALSE(app->camera->moved);

    drawFrame();
    EXPECT_EQ(countAll(readFrame(), kRotationMarkerPink), 0);
}

TEST_F(SceneFrame, RotationPointMarkerSwitchedOffKeepsTheMotionForOneLaterFrame) {
    options->showRotationPoint = false;
    app->mouseWheel(1.0f);
    drawFrame();
    EXPECT_EQ(countAll(readFrame(), kRotationMarkerPink), 0);
    EXPECT_TRUE(app->camera->moved);

    options->showRotationPoint = true;
    drawFrame();
    EXPECT_GT(countAll(readFrame(), kRotationMarkerPink), 0);
    drawFrame();
    EXPECT_EQ(countAll(readFrame(), kRotationMarkerPink), 0);
}

}  // namespace
