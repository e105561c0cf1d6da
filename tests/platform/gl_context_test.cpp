// The OpenGL context made through the pixel format and WGL calls: its
// buffers, presentation, release, and the one-line failure.

#include <gtest/gtest.h>

#include <epoxy/glx.h>

#include "platform/glut_startup.h"
#include "tests/support/test_window.h"
#include "tests/support/x_input.h"

namespace {

std::vector<unsigned char> centrePixel(TestWindow& test, GLenum buffer) {
    RECT client;
    GetClientRect(test.window(), &client);
    return test.readPixels(buffer, client.right / 2, client.bottom / 2, 1, 1);
}

void clearTo(float red, float green, float blue) {
    glClearColor(red, green, blue, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

TEST(GlContext, IsDoubleBufferedWithTheColourAndDepthBitsAskedFor) {
    TestWindow test;
    GLboolean doubleBuffered = GL_FALSE;
    glGetBooleanv(GL_DOUBLEBUFFER, &doubleBuffered);
    EXPECT_TRUE(doubleBuffered);
    GLint red = 0, green = 0, blue = 0, depth = 0;
    glGetIntegerv(GL_RED_BITS, &red);
    glGetIntegerv(GL_GREEN_BITS, &green);
    glGetIntegerv(GL_BLUE_BITS, &blue);
    glGetIntegerv(GL_DEPTH_BITS, &depth);
    EXPECT_GE(red + green + blue, 24);
    EXPECT_GE(depth, 16);
}

// The toolkit must never draw into the client area or swap it by itself,
// whatever exposes it handles; only SwapBuffers shows a frame.
TEST(GlContext, SwapBuffersPresentsAndNothingElseTouchesTheBuffers) {
    TestWindow test;
    XInput input;
    ASSERT_TRUE(input.showAndFocus(test));
    RECT client;
    GetClientRect(test.window(), &client);
    glViewport(0, 0, client.right, client.bottom);
    int x = client.right / 2;
    int y = client.bottom / 2;

    clearTo(1.0f, 0.0f, 0.0f);
    ASSERT_TRUE(SwapBuffers(test.deviceContext()));
    glFinish();
    EXPECT_EQ(input.shownColour(test.window(), x, y), 0xFF0000u);

    // A frame drawn but not swapped, then exposes: the toolkit must neither
    // present it nor make a context of its own current.
    clearTo(0.0f, 1.0f, 0.0f);
    GLXContext current = glXGetCurrentContext();
    input.unmap(test.window());
    input.map(test.window());
    test.pumpFor(300);
    EXPECT_EQ(glXGetCurrentContext(), current);
    EXPECT_NE(input.shownColour(test.window(), x, y), 0x00FF00u);
    EXPECT_EQ(centrePixel(test, GL_BACK), (std::vector<unsigned char>{0, 255, 0}));

    ASSERT_TRUE(SwapBuffers(test.deviceContext()));
    glFinish();
    EXPECT_EQ(input.shownColour(test.window(), x, y), 0x00FF00u);
}

TEST(GlContext, MakeCurrentWithNullReleasesAndDeletingTheCurrentContextReleasesIt) {
    TestWindow test;
    EXPECT_NE(glXGetCurrentContext(), nullptr);
    ASSERT_TRUE(wglMakeCurrent(nullptr, nullptr));
    EXPECT_EQ(glXGetCurrentContext(), nullptr);

    ASSERT_TRUE(wglMakeCurrent(test.deviceContext(), test.context()));
    EXPECT_NE(glXGetCurrentContext(), nullptr);
    HGLRC second = wglCreateContext(test.deviceContext());
    ASSERT_NE(second, nullptr);
    ASSERT_TRUE(wglMakeCurrent(test.deviceContext(), second));
    ASSERT_TRUE(wglDeleteContext(second));
    EXPECT_EQ(glXGetCurrentContext(), nullptr);
    EXPECT_FALSE(wglMakeCurrent(test.deviceContext(), second)) << "a deleted context";
}

// The client area is made with the visual the viewer asks for: a request it
// meets (fewer colour bits, no depth) gets that one format, and no other
// format can be set.
TEST(GlContext, EveryRequestTheClientAreaMeetsGetsItsOneFormat) {
    TestWindow test;
    PIXELFORMATDESCRIPTOR request = {};
    request.nSize = sizeof(request);
    request.nVersion = 1;
    request.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    request.iPixelType = PFD_TYPE_RGBA;
    request.cColorBits = 16;
    int format = ChoosePixelFormat(test.deviceContext(), &request);
    ASSERT_NE(format, 0);
    EXPECT_TRUE(SetPixelFormat(test.deviceContext(), format, &request));
    EXPECT_FALSE(SetPixelFormat(test.deviceContext(), format + 1, &request));
    request.iPixelType = 1;  // PFD_TYPE_COLORINDEX
    EXPECT_EQ(ChoosePixelFormat(test.deviceContext(), &request), 0);
    GLboolean doubleBuffered = GL_FALSE;
    glGetBooleanv(GL_DOUBLEBUFFER, &doubleBuffered);
    EXPECT_TRUE(doubleBuffered);
}

TEST(GlContextDeathTest, AFormatTheDisplayCannotGiveEndsTheProgramWithOneLine) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto askForTooMuchDepth = [] {
        TestWindow test;
        HWND window = CreateWindowExA(0, "verrine-test", "Verrine", WS_VISIBLE | WS_OVERLAPPEDWINDOW, 20, 40, 500,
                                      495, nullptr, nullptr, nullptr, nullptr);
        HDC deviceContext = GetDC(window);
        PIXELFORMATDESCRIPTOR request = {};
        request.nSize = sizeof(request);
        request.nVersion = 1;
        request.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
        request.iPixelType = PFD_TYPE_RGBA;
        request.cColorBits = 24;
        request.cDepthBits = 64;
        SetPixelFormat(deviceContext, ChoosePixelFormat(deviceContext, &request), &request);
    };
    EXPECT_EXIT(askForTooMuchDepth(), ::testing::ExitedWithCode(1),
                "^verrine: the X display has no double-buffered RGBA OpenGL visual with 24 colour and 64 "
                "depth bits\n$");
}

// freeglut ends the process on a second glutInit as on a missing one; the
// viewer's geometry must draw into our context after startGlut, however
// often it was called.
TEST(GlContext, GlutDrawsIntoTheContextOnceStartedAndStartingAgainIsHarmless) {
    TestWindow test;
    startGlut();
    startGlut();
    RECT client;
    GetClientRect(test.window(), &client);
    glViewport(0, 0, client.right, client.bottom);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    clearTo(0.0f, 0.0f, 0.0f);
    glColor3f(1.0f, 1.0f, 1.0f);
    glutSolidCube(1.0);
    EXPECT_EQ(centrePixel(test, GL_BACK), (std::vector<unsigned char>{255, 255, 255}));
}

}  // namespace
