// A real window with a current double-buffered OpenGL context, made through
// the platform layer the way the viewer makes its own, and a record of every
// message its window procedure receives.
#pragma once

#include <functional>
#include <vector>

#include "platform/gl.h"
#include "platform/win32.h"

struct ReceivedMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class TestWindow {
public:
    // Decides what the window procedure returns after recording a message;
    // the default is DefWindowProcA.
    using Handler = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;

    // Registers the class "verrine-test" once per process, opens the window
    // (visible, with a frame), takes its device context, sets a
    // double-buffered RGBA pixel format with 24 colour and 16 depth bits and
    // makes a new context current.
    explicit TestWindow(int x = 20, int y = 40, int width = 500, int height = 495);
    // Releases and deletes the context and destroys the window, if the test
    // has not destroyed it already.
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND window() const { return window_; }
    HDC deviceContext() const { return deviceContext_; }
    HGLRC context() const { return context_; }

    // The messages received so far, in order, including those sent while the
    // window was being created.
    const std::vector<ReceivedMessage>& received() const;
    std::vector<ReceivedMessage> receivedOf(UINT message) const;
    void clearReceived();
    void setHandler(Handler handler);

    // Takes and dispatches every pending message, as the viewer's loop does
    // one at a time, until the condition holds or the time is up. WM_QUIT is
    // left in the queue. Returns whether the condition held.
    bool pumpUntil(const std::function<bool()>& condition, int timeoutMs = 3000);
    void pumpFor(int milliseconds);
    // Pumps until a message of this type has been received.
    bool waitFor(UINT message, int timeoutMs = 3000);

    // The RGB pixels of a rectangle of the client area from the given buffer
    // (GL_BACK, GL_FRONT), bottom row first.
    std::vector<unsigned char> readPixels(GLenum buffer, int x, int y, int width, int height);

private:
    HWND window_ = nullptr;
    HDC deviceContext_ = nullptr;
    HGLRC context_ = nullptr;
};
