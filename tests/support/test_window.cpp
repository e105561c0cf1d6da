#include "tests/support/test_window.h"

#include <chrono>
#include <thread>
#include <utility>

#include <gtest/gtest.h>

#include "app/window.h"

namespace {

constexpr char kClassName[] = "verrine-test";

// One window procedure for the process: the window is created before a
// TestWindow can be told its handle, and WM_SIZE already arrives
// during creation.
std::vector<ReceivedMessage> receivedMessages;
TestWindow::Handler messageHandler;

LRESULT CALLBACK recordingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    receivedMessages.push_back({window, message, wParam, lParam});
    if (messageHandler) return messageHandler(window, message, wParam, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

void registerClassOnce() {
    static bool registered = false;
    if (registered) return;
    WNDCLASSA windowClass = {};
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = recordingWindowProc;
    windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kClassName;
    ASSERT_NE(RegisterClassA(&windowClass), 0);
    registered = true;
}

bool isLive(HWND window) {
    RECT client;
    return GetClientRect(window, &client) != FALSE;
}

}  // namespace

TestWindow::TestWindow(int x, int y, int width, int height) {
    registerClassOnce();
    receivedMessages.clear();
    messageHandler = nullptr;
    window_ = CreateWindowExA(0, kClassName, "Verrine", WS_VISIBLE | WS_OVERLAPPEDWINDOW, x, y, width, height,
                              nullptr, nullptr, nullptr, nullptr);
    EXPECT_NE(window_, nullptr);
    // The viewer's own pixel format request and context.
    createGLContext(window_, &deviceContext_, &context_);
    EXPECT_NE(context_, nullptr);
    EXPECT_NE(glGetString(GL_VERSION), nullptr) << "no current OpenGL context";
}

TestWindow::~TestWindow() {
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(context_);
    if (isLive(window_)) {
        ReleaseDC(window_, deviceContext_);
        DestroyWindow(window_);
    }
    messageHandler = nullptr;
}

const std::vector<ReceivedMessage>& TestWindow::received() const { return receivedMessages; }

std::vector<ReceivedMessage> TestWindow::receivedOf(UINT message) const {
    std::vector<ReceivedMessage> found;
    for (const ReceivedMessage& received : receivedMessages) {
        if (received.message == message) found.push_back(received);
    }
    return found;
}

void TestWindow::clearReceived() { receivedMessages.clear(); }

void TestWindow::setHandler(Handler handler) { messageHandler = std::move(handler); }

bool TestWindow::pumpUntil(const std::function<bool()>& condition, int timeoutMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));  // left for the test to take
                break;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void TestWindow::pumpFor(int milliseconds) {
    pumpUntil([] { return false; }, milliseconds);
}

bool TestWindow::waitFor(UINT message, int timeoutMs) {
    return pumpUntil([this, message] { return !receivedOf(message).empty(); }, timeoutMs);
}

std::vector<unsigned char> TestWindow::readPixels(GLenum buffer, int x, int y, int width, int height) {
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 3);
    glReadBuffer(buffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}
