// Storms of input worked off by the viewer's own loop, one message and one
// frame at a time: thousands of drag moves, a thousand menu commands, keys
// the viewer has no use for, window sizes down to nothing and back. The
// camera stays finite, the state and the check marks stay in step, and no
// frame leaves an OpenGL error or a changed standing state behind.

#include <algorithm>
#include <cmath>
#include <random>

#include <FL/Fl.H>
#include <X11/keysym.h>

#include "tests/app/app_fixture.h"
#include "tests/support/image.h"
#include "tests/support/x_input.h"

namespace {

bool isFinite(const Vector3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

::testing::AssertionResult cameraIsFinite(const Camera& camera) {
    if (isFinite(camera.position) && isFinite(camera.forward) && isFinite(camera.up) &&
        isFinite(camera.rotationPoint) && std::isfinite(camera.distance) && std::isfinite(camera.yaw) &&
        std::isfinite(camera.pitch)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "eye (" << camera.position.x << ", " << camera.position.y << ", "
                                         << camera.position.z << "), distance " << camera.distance;
}

// What every drawing step promises to leave as it found it. In the fixed
// pipeline every frame hands the camera position to program 0, which OpenGL
// rejects as an invalid value and operation, to no effect; any other error
// (a matrix stack over- or underflow, say) is a fault.
::testing::AssertionResult standingStateIntact() {
    for (GLenum error = glGetError(); error != GL_NO_ERROR; error = glGetError()) {
        if (error != GL_INVALID_VALUE && error != GL_INVALID_OPERATION) {
            return ::testing::AssertionFailure() << "OpenGL error 0x" << std::hex << error;
        }
    }
    GLint matrixMode = 0;
    GLint modelviewDepth = 0;
    GLint projectionDepth = 0;
    glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &modelviewDepth);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &projectionDepth);
    if (!glIsEnabled(GL_LIGHTING) || !glIsEnabled(GL_DEPTH_TEST) || matrixMode != GL_MODELVIEW ||
        modelviewDepth != 1 || projectionDepth != 1) {
        return ::testing::AssertionFailure() << "standing state changed: matrix mode 0x" << std::hex << matrixMode
                                             << std::dec << ", stack depths " << modelviewDepth << " and "
                                             << projectionDepth;
    }
    return ::testing::AssertionSuccess();
}

class InputStorm : public AppTest {
protected:
    // A small window: thousands of frames stay quick on a software driver,
    // whose time goes mostly into filling pixels: at 160 x 160 the ten
    // thousand frames took two to three times as long.
    InputStorm() {
        width = 32;
        height = 32;
    }

    void SetUp() override {
        AppTest::SetUp();
        window->setHandler(windowProc);
        // The size the viewer's procedure is sent when the menu bar is
        // attached; here the bar came before the procedure.
        RECT client = clientRect();
        send(WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    }

    // One turn of the viewer's loop: at most one message, then one frame.
    // Returns whether a message was taken.
    bool loopOnce() {
        MSG message = {};
        bool taken = PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);
        if (taken) {
            EXPECT_NE(message.message, static_cast<UINT>(WM_QUIT));
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        application->renderFrame();
        SwapBuffers(window->deviceContext());
        return taken;
    }

    void post(UINT message, WPARAM wParam, LPARAM lParam) {
        ASSERT_TRUE(PostMessageA(window->window(), message, wParam, lParam));
    }

    // Runs the loop until the queue is empty; every frame is checked.
    int workOffQueue() {
        int messages = 0;
        while (loopOnce()) {
            ++messages;
            ::testing::AssertionResult finite = cameraIsFinite(*application->camera);
            ::testing::AssertionResult intact = standingStateIntact();
            if (!finite || !intact) {
                ADD_FAILURE() << "after message " << messages << ": " << finite.message() << intact.message();
                break;
            }
        }
        return messages;
    }

    // Frames with no message for the window: the last size, pose and state.
    void drawFrames(int count) {
        for (int frame = 0; frame < count; ++frame) {
            application->renderFrame();
            SwapBuffers(window->deviceContext());
        }
        EXPECT_TRUE(standingStateIntact());
    }

    // One frame as drawn, read back before it is presented.
    Image drawnFrame(const RECT& client) {
        application->renderFrame();
        std::vector<unsigned char> pixels = window->readPixels(GL_BACK, 0, 0, client.right, client.bottom);
        SwapBuffers(window->deviceContext());
        Image frame(client.right, client.bottom);
        for (int y = 0; y < client.bottom; ++y) {
            for (int x = 0; x < client.right; ++x) {
                const unsigned char* pixel = &pixels[3 * (static_cast<size_t>(y) * client.right + x)];
                frame.set(x, y, {pixel[0], pixel[1], pixel[2]});
            }
        }
        return frame;
    }

    RECT clientRect() {
        RECT client = {};
        GetClientRect(window->window(), &client);
        return client;
    }
};

TEST_F(InputStorm, TenThousandQueuedDragMovesLeaveTheCameraFinite) {
    std::mt19937 generator(7);
    // Anywhere a 16-bit client position can say, jumps across it included.
    std::uniform_int_distribution<int> coordinate(0, 0xFFFF);
    constexpr int kMoves = 10000;
    for (int move = 0; move < kMoves; ++move) {
        post(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(coordinate(generator), coordinate(generator)));
    }
    EXPECT_EQ(workOffQueue(), kMoves);
    EXPECT_TRUE(cameraIsFinite(*application->camera));
    // The orbit keeps the eye at its distance from the rotation point.
    EXPECT_NEAR(distance(application->camera->position, application->camera->rotationPoint),
                application->camera->distance, 1e-3);
}

TEST_F(InputStorm, AThousandMenuCommandsKeepStateAndCheckMarksInStep) {
    const UINT commands[] = {kShowLightLocationsCommand, kShowAxisCommand, kShowBasePlaneCommand,
                             kRotateSceneCommand, kShowRotationPointCommand, kToonMode, kEdgeMode,
                             kFixedPipelineMode};
    constexpr int kCommands = 1000;
    for (int i = 0; i < kCommands; ++i) post(WM_COMMAND, commands[i % 8], 0);
    EXPECT_EQ(workOffQueue(), kCommands);

    // 125 rounds: every toggle flipped an odd number of times; the fixed
    // pipeline chosen last.
    const RenderOptions defaults;
    EXPECT_NE(options->showLightLocations, defaults.showLightLocations);
    EXPECT_NE(options->showAxis, defaults.showAxis);
    EXPECT_NE(options->showBasePlane, defaults.showBasePlane);
    EXPECT_NE(options->rotateScene, defaults.rotateScene);
    EXPECT_NE(options->showRotationPoint, defaults.showRotationPoint);
    EXPECT_EQ(application->shaderSet.currentMode, kFixedPipelineMode);
    EXPECT_EQ(isChecked(kShowLightLocationsCommand), options->showLightLocations);
    EXPECT_EQ(isChecked(kShowAxisCommand), options->showAxis);
    EXPECT_EQ(isChecked(kShowBasePlaneCommand), options->showBasePlane);
    EXPECT_EQ(isChecked(kRotateSceneCommand), options->rotateScene);
    EXPECT_EQ(isChecked(kShowRotationPointCommand), options->showRotationPoint);
    EXPECT_TRUE(isChecked(kFixedPipelineMode));
    EXPECT_FALSE(isChecked(kToonMode) || isChecked(kEdgeMode));
}

// Virtual-key codes outside the held-key table, from 0 to the top of the
// 16 bits a key message carries and beyond: ignored, never stored.
TEST_F(InputStorm, KeysOutsideTheKeyTableChangeNothing) {
    const Camera before = cameraNow();
    const WPARAM keys[] = {0, 1, 8, 47, 90, 91, 0x70, 0xDE, 0xFF, 0x100, 0xFFFF, 0x10000, ~WPARAM(0)};
    for (WPARAM key : keys) post(WM_KEYDOWN, key, 1);
    workOffQueue();
    drawFrames(3);
    expectSamePose(*application->camera, before);
    for (bool held : application->keyStates) EXPECT_FALSE(held);
    for (WPARAM key : keys) post(WM_KEYUP, key, 0xC0000001);
    workOffQueue();
    EXPECT_FALSE(options->quitRequested);
    EXPECT_EQ(application->shaderSet.currentMode, kFixedPipelineMode);
}

// Real key presses of keys that have no virtual-key code (letters beyond
// ASCII, a currency sign, a Cyrillic letter, F20): the toolkit sees them,
// the window gets no key message. The X server's keymap lacks them, so each
// is bound for the moment to a spare key code.
TEST_F(InputStorm, KeysWithoutAVirtualCodeSendNoKeyMessage) {
    XInput input;
    ASSERT_TRUE(input.showAndFocus(*window));
    const Camera before = cameraNow();
    for (unsigned long keysym : {XK_eacute, XK_EuroSign, XK_Cyrillic_a, XK_F20}) {
        input.bindSpareKey(keysym);
        input.keyDown(keysym);
        input.keyUp(keysym);
        window->pumpFor(50);
        // The toolkit saw the key itself, not some other.
        EXPECT_EQ(static_cast<unsigned long>(Fl::event_key()), keysym);
    }
    EXPECT_TRUE(window->receivedOf(WM_KEYDOWN).empty());
    EXPECT_TRUE(window->receivedOf(WM_KEYUP).empty());
    drawFrames(3);
    expectSamePose(*application->camera, before);

    // The same way, a key that has a code arrives.
    input.keyDown(XK_q);
    input.keyUp(XK_q);
    EXPECT_TRUE(window->waitFor(WM_KEYUP));
    ASSERT_EQ(window->receivedOf(WM_KEYDOWN).size(), 1u);
    EXPECT_EQ(window->receivedOf(WM_KEYDOWN)[0].wParam, static_cast<WPARAM>('Q'));
}

// A window made as small and as odd as X allows, minimised and restored,
// then given its size back, draws what it drew before. A zero size, which
// X cannot give a window, is what a minimised window reports.
TEST_F(InputStorm, ResizesToNothingAndBackDrawTheSameFrame) {
    XInput input;
    ASSERT_TRUE(input.showAndFocus(*window));
    HWND handle = window->window();
    const RECT original = clientRect();
    const Image before = drawnFrame(original);

    // The top-level window holds the 20 px menu bar above the client area,
    // which keeps at least one pixel.
    auto resizeAndDraw = [&](int newWidth, int newHeight) {
        input.resize(handle, newWidth, newHeight);
        EXPECT_TRUE(window->pumpUntil([&] {
            RECT client = clientRect();
            return client.right == newWidth && client.bottom == std::max(1, newHeight - 20);
        })) << newWidth << " x " << newHeight;
        drawFrames(3);
    };
    send(WM_SIZE, SIZE_RESTORED, MAKELPARAM(0, 0));
    drawFrames(3);
    resizeAndDraw(1, 1);
    resizeAndDraw(1, 4000);
    resizeAndDraw(4000, 1);
    input.unmap(handle);
    EXPECT_TRUE(window->pumpUntil([&] { return clientRect().right == 0; })) << "minimised";
    drawFrames(3);
    input.map(handle);
    EXPECT_TRUE(window->pumpUntil([&] { return clientRect().right != 0; })) << "restored";
    resizeAndDraw(original.right, original.bottom + 20);

    const RECT restored = clientRect();
    ASSERT_EQ(restored.right, original.right);
    ASSERT_EQ(restored.bottom, original.bottom);
    EXPECT_TRUE(cameraIsFinite(*application->camera));
    // The driver's buffers were made anew on the way; a pixel or two along
    // an edge may come out a shade apart.
    EXPECT_LE(compareImages(drawnFrame(original), before, {}, 16).differingPixels, 4);
}

}  // namespace
