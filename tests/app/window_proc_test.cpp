// The window procedure: messages into Application calls, the quit request,
// and the menu's check marks kept in step with the state.

#include <algorithm>

#include "render/gl_state.h"
#include "tests/app/app_fixture.h"

namespace {

using WindowProcedure = AppTest;

bool quitIsPosted() {
    MSG message = {};
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) return true;
    }
    return false;
}

void expectViewport(int width, int height) {
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], width);
    EXPECT_EQ(viewport[3], height);
}

TEST_F(WindowProcedure, SizeReachesReshapeOnlyOnceTheApplicationExists) {
    Application* existing = application;
    application = nullptr;
    send(WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 200));
    send(WM_KILLFOCUS);  // comes during creation too
    application = existing;
    GLint before[4];
    glGetIntegerv(GL_VIEWPORT, before);
    EXPECT_NE(before[2], 300);

    send(WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 200));
    expectViewport(300, 200);
    // Both words are unsigned 16-bit sizes: 40000 is a (clamped) width, not
    // a negative one that OpenGL would reject.
    GLint maxDims[2];
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, maxDims);
    const int clampedWidth = std::min(40000, static_cast<int>(maxDims[0]));
    send(WM_SIZE, SIZE_RESTORED, MAKELPARAM(40000, 600));
    expectViewport(clampedWidth, 600);
    // A minimised window's zero height leaves everything as it was.
    send(WM_SIZE, SIZE_MINIMIZED, 0);
    expectViewport(clampedWidth, 600);
}

TEST_F(WindowProcedure, CloseQuitsAtOnceWithoutDefaultProcessing) {
    EXPECT_EQ(send(WM_CLOSE), 0);
    EXPECT_TRUE(quitIsPosted());
    // The default processing would have destroyed the window.
    RECT client;
    EXPECT_TRUE(GetClientRect(window->window(), &client));
}

TEST_F(WindowProcedure, OnceAQuitIsRequestedEveryMessagePostsAnother) {
    EXPECT_FALSE(quitIsPosted());
    EXPECT_EQ(send(WM_KEYDOWN, VK_ESCAPE), 0);
    EXPECT_TRUE(quitIsPosted());
    const UINT kUserMessage = 0x0400;  // WM_USER, which no platform call sends
    const UINT later[] = {WM_SIZE, WM_KEYUP, WM_MOUSEMOVE, WM_MOUSEWHEEL, WM_COMMAND, kUserMessage};
    for (UINT message : later) {
        EXPECT_EQ(send(message), 0) << message;
        EXPECT_TRUE(quitIsPosted()) << message;
    }
}

TEST_F(WindowProcedure, DragsOrbitByTheMovementSinceTheLastMove) {
    send(WM_MOUSEMOVE, 0, MAKELPARAM(100, 100));
    Camera expected = cameraNow();
    EXPECT_EQ(lastMouseX, 100);
    EXPECT_EQ(lastMouseY, 100);
    expectSamePose(*application->camera, expected);

    // Right and down: dx = last x - x is negative, dy = y - last y positive.
    send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(130, 110));
    expected.orbit(-30.0f, 10.0f);
    expectSamePose(*application->camera, expected);
    EXPECT_EQ(application->camera->yaw, expected.yaw);

    // A move without the left button only updates the last position. On
    // Windows moves carry the other buttons and Shift too (MK_RBUTTON 0x2,
    // MK_SHIFT 0x4), which the layer here leaves out.
    send(WM_MOUSEMOVE, 0x2, MAKELPARAM(10, 400));
    expectSamePose(*application->camera, expected);
    send(WM_MOUSEMOVE, MK_LBUTTON | 0x4, MAKELPARAM(12, 399));
    expected.orbit(-2.0f, -1.0f);
    expectSamePose(*application->camera, expected);
}

TEST_F(WindowProcedure, WheelDeltaInNotches) {
    struct Case {
        short delta;
        float notches;
    };
    const Case cases[] = {{120, 1.0f}, {-120, -1.0f}, {60, 0.5f}, {-360, -3.0f}};
    for (const Case& c : cases) {
        Camera expected = cameraNow();
        expected.zoom(c.notches);
        send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(c.delta)), 0);
        EXPECT_EQ(application->camera->distance, expected.distance) << c.delta;
    }
}

TEST_F(WindowProcedure, StartsWithFixedPipelineBasePlaneAndRotationPointChecked) {
    const UINT checked[] = {200, 302, 304};
    const UINT unchecked[] = {201, 202, 300, 301, 303};
    for (UINT id : checked) EXPECT_TRUE(isChecked(id)) << id;
    for (UINT id : unchecked) EXPECT_FALSE(isChecked(id)) << id;
}

TEST_F(WindowProcedure, ShaderCommandsMoveTheCheckMarkAtOnce) {
    send(WM_COMMAND, MAKEWPARAM(201, 0));
    EXPECT_EQ(application->shaderSet.currentMode, kToonMode);
    EXPECT_FALSE(isChecked(200));
    EXPECT_TRUE(isChecked(201));
    send(WM_COMMAND, MAKEWPARAM(201, 0));
    EXPECT_TRUE(isChecked(201));

    // An id without a mode leaves no Shader item checked.
    send(WM_COMMAND, MAKEWPARAM(250, 0));
    EXPECT_EQ(application->shaderSet.currentMode, 250);
    for (UINT id : {200u, 201u, 202u}) EXPECT_FALSE(isChecked(id)) << id;
}

TEST_F(WindowProcedure, DebugCommandsToggleTheirFlagAndCheckMark) {
    struct Toggle {
        UINT id;
        bool RenderOptions::*flag;
    };
    const Toggle toggles[] = {
        {300, &RenderOptions::showLightLocations}, {301, &RenderOptions::showAxis},
        {302, &RenderOptions::showBasePlane},      {303, &RenderOptions::rotateScene},
        {304, &RenderOptions::showRotationPoint},
    };
    for (const Toggle& toggle : toggles) {
        const bool before = options->*toggle.flag;
        send(WM_COMMAND, MAKEWPARAM(toggle.id, 0));
        EXPECT_EQ(options->*toggle.flag, !before) << toggle.id;
        EXPECT_EQ(isChecked(toggle.id), !before) << toggle.id;
        send(WM_COMMAND, MAKEWPARAM(toggle.id, 0));
        EXPECT_EQ(options->*toggle.flag, before) << toggle.id;
        EXPECT_EQ(isChecked(toggle.id), before) << toggle.id;
    }
    EXPECT_FALSE(options->quitRequested);
}

// Any command, and the loss of the keyboard focus, whose key-ups go to
// another window: every held key is released, and a held mode key's check
// mark follows as on its release.
TEST_F(WindowProcedure, AnyCommandAndLosingTheFocusReleaseEveryHeldKey) {
    for (UINT message : {WM_COMMAND, WM_KILLFOCUS}) {
        send(WM_KEYDOWN, 'W');
        send(WM_KEYDOWN, '3');
        application->update();
        send(message, MAKEWPARAM(999, 0));
        for (bool held : application->keyStates) EXPECT_FALSE(held) << message;
        EXPECT_TRUE(isChecked(202)) << message;
        Camera expected = cameraNow();
        application->update();
        expectSamePose(*application->camera, expected);
        send(WM_COMMAND, MAKEWPARAM(200, 0));
    }
}

TEST_F(WindowProcedure, QuitCommandRefreshesTheMarksThenQuits) {
    send(WM_KEYDOWN, '3');
    application->update();
    EXPECT_FALSE(isChecked(202));
    EXPECT_EQ(send(WM_COMMAND, MAKEWPARAM(kQuitCommand, 0)), 0);
    EXPECT_TRUE(options->quitRequested);
    EXPECT_TRUE(isChecked(202));
    EXPECT_TRUE(quitIsPosted());
}

// A key let go while Alt is down comes as WM_SYSKEYUP and counts as a
// release all the same.
TEST_F(WindowProcedure, AModeKeyActsAtOnceButItsCheckMarkFollowsTheRelease) {
    for (UINT release : {WM_KEYUP, WM_SYSKEYUP}) {
        send(WM_COMMAND, MAKEWPARAM(200, 0));
        send(WM_KEYDOWN, '2');
        application->renderFrame();
        EXPECT_EQ(application->shaderSet.currentMode, kToonMode);
        GLint program = 0;
        glGetIntegerv(GL_CURRENT_PROGRAM, &program);
        EXPECT_EQ(static_cast<GLuint>(program), application->shaderSet.currentProgram());
        EXPECT_TRUE(isChecked(200));
        EXPECT_FALSE(isChecked(201));

        send(release, '2');
        EXPECT_FALSE(application->keyStates['2' - Application::kFirstKey]) << release;
        EXPECT_FALSE(isChecked(200)) << release;
        EXPECT_TRUE(isChecked(201)) << release;
    }
}

}  // namespace
