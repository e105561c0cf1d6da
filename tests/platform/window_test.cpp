// Windows: what creation sends, the nominal frame, the title, the window
// manager's close, minimise and resize, and destruction.

#include <string>

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "platform/linux/display.h"
#include "tests/support/test_window.h"
#include "tests/support/x_input.h"

namespace {

std::vector<UINT> messageTypes(const std::vector<ReceivedMessage>& received) {
    std::vector<UINT> types;
    for (const ReceivedMessage& message : received) types.push_back(message.message);
    return types;
}

TEST(Window, CreationSendsTheClientSizeBeforeReturning) {
    // 500 x 495 outer, less an 8 px frame each side and at the bottom and a
    // 31 px caption.
    TestWindow test(20, 40, 500, 495);
    // Nothing pumped yet: it arrived during CreateWindowExA.
    const std::vector<ReceivedMessage>& received = test.received();
    ASSERT_GE(received.size(), 1u);
    EXPECT_EQ(received[0].message, static_cast<UINT>(WM_SIZE));
    EXPECT_EQ(received[0].wParam, static_cast<WPARAM>(SIZE_RESTORED));
    EXPECT_EQ(LOWORD(received[0].lParam), 484);
    EXPECT_EQ(HIWORD(received[0].lParam), 456);

    RECT client;
    ASSERT_TRUE(GetClientRect(test.window(), &client));
    EXPECT_EQ(client.right, 484);
    EXPECT_EQ(client.bottom, 456);
}

// With no window manager on the test display the X window is exactly where
// the frame metrics put it.
TEST(Window, ClientAreaSitsInsideTheNominalFrameWithClassAndTitle) {
    TestWindow test(20, 40, 500, 495);
    XInput input;
    ASSERT_TRUE(input.showAndFocus(test));
    int x = 0;
    int y = 0;
    input.clientToScreen(test.window(), 0, 0, &x, &y);
    EXPECT_EQ(x, 28);
    EXPECT_EQ(y, 71);

    Display* display = input.display();
    Window top = platform::topLevelXWindow(test.window());
    XClassHint hint = {};
    ASSERT_TRUE(XGetClassHint(display, top, &hint));
    EXPECT_STREQ(hint.res_name, "verrine-test");
    auto title = [&] {
        char* name = nullptr;
        std::string text = XFetchName(display, top, &name) ? name : "(none)";
        XFree(name);
        return text;
    };
    EXPECT_EQ(title(), "Verrine");
    ASSERT_TRUE(SetWindowTextA(test.window(), "Verrine - toon.vert"));
    EXPECT_TRUE(test.pumpUntil([&] { return title() == "Verrine - toon.vert"; })) << title();
    XFree(hint.res_name);
    XFree(hint.res_class);
}

TEST(Window, DestroyRemovesTheWindow) {
    TestWindow test;
    test.clearReceived();
    ASSERT_TRUE(DestroyWindow(test.window()));
    RECT client;
    EXPECT_FALSE(GetClientRect(test.window(), &client));
    EXPECT_FALSE(DestroyWindow(test.window()));
    EXPECT_FALSE(SetWindowTextA(test.window(), "gone"));
    EXPECT_EQ(GetDC(test.window()), nullptr);
    test.pumpFor(100);  // the toolkit deletes its widgets now; nothing may reach the dead window
    EXPECT_TRUE(test.received().empty());
}

TEST(Window, TheWindowManagersCloseBecomesWmCloseAndDefaultProcessingDestroys) {
    TestWindow test;
    XInput input;
    ASSERT_TRUE(input.showAndFocus(test));
    input.requestClose(test.window());
    ASSERT_TRUE(test.waitFor(WM_CLOSE));
    EXPECT_EQ(messageTypes(test.received()), (std::vector<UINT>{WM_CLOSE}));
    RECT client;
    EXPECT_FALSE(GetClientRect(test.window(), &client)) << "default processing destroys the window";
}

TEST(Window, AWindowThatHandlesWmCloseItselfStays) {
    TestWindow test;
    test.setHandler([](HWND, UINT message, WPARAM, LPARAM) -> LRESULT {
        if (message == WM_CLOSE) PostQuitMessage(3);
        return 0;
    });
    XInput input;
    ASSERT_TRUE(input.showAndFocus(test));
    input.requestClose(test.window());
    ASSERT_TRUE(test.waitFor(WM_CLOSE));
    MSG quit;
    ASSERT_TRUE(PeekMessageA(&quit, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(quit.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(quit.wParam, 3u);
    EXPECT_TRUE(input.isViewable(test.window()));
}

TEST(Window, MinimisingAndRestoringSendSizeWithTheKind) {
    TestWindow test;
    XInput input;
    ASSERT_TRUE(input.showAndFocus(test));
    input.unmap(test.window());
    ASSERT_TRUE(test.waitFor(WM_SIZE));
    ReceivedMessage minimised = test.receivedOf(WM_SIZE).back();
    EXPECT_EQ(minimised.wParam, static_cast<WPARAM>(SIZE_MINIMIZED));
    EXPECT_EQ(minimised.lParam, 0);

    test.clearReceived();
    input.map(test.window());
    ASSERT_TRUE(test.waitFor(WM_SIZE));
    ReceivedMessage restored = test.receivedOf(WM_SIZE).back();
    EXPECT_EQ(restored.wParam, static_cast<WPARAM>(SIZE_RESTORED));
    EXPECT_EQ(LOWORD(restored.lParam), 484);
    EXPECT_EQ(HIWORD(restored.lParam), 456);
}

TEST(Window, AUserResizeSendsTheNewClientSizeOnce) {
    TestWindow test;
    XInput input;
    ASSERT_TRUE(input.showAndFocus(test));
    input.resize(test.window(), 600, 400);
    ASSERT_TRUE(test.waitFor(WM_SIZE));
    test.pumpFor(100);
    std::vector<ReceivedMessage> sizes = test.receivedOf(WM_SIZE);
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_EQ(LOWORD(sizes[0].lParam), 600);
    EXPECT_EQ(HIWORD(sizes[0].lParam), 400);
    RECT client;
    GetClientRect(test.window(), &client);
    EXPECT_EQ(client.right, 600);
    EXPECT_EQ(client.bottom, 400);
}

}  // namespace
