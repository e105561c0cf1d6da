// The pointer over the client area: moves in client coordinates with the
// left button's flag, presses, drags and the wheel.

#include <gtest/gtest.h>

#include "tests/support/test_window.h"
#include "tests/support/x_input.h"

namespace {

class Mouse : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(input.showAndFocus(test)); }

    // Moves the pointer and returns the WM_MOUSEMOVE it gave.
    ReceivedMessage moveTo(int x, int y) {
        test.clearReceived();
        input.moveTo(test.window(), x, y);
        EXPECT_TRUE(test.waitFor(WM_MOUSEMOVE)) << "no WM_MOUSEMOVE for " << x << ", " << y;
        std::vector<ReceivedMessage> moves = test.receivedOf(WM_MOUSEMOVE);
        return moves.empty() ? ReceivedMessage{} : moves.back();
    }

    TestWindow test;
    XInput input;
};

TEST_F(Mouse, MovesCarryClientCoordinates) {
    ReceivedMessage move = moveTo(10, 20);
    EXPECT_EQ(LOWORD(move.lParam), 10);
    EXPECT_EQ(HIWORD(move.lParam), 20);
    EXPECT_EQ(move.wParam, 0u);

    move = moveTo(483, 455);  // the last client pixel
    EXPECT_EQ(LOWORD(move.lParam), 483);
    EXPECT_EQ(HIWORD(move.lParam), 455);
}

TEST_F(Mouse, ADragCarriesTheLeftButtonAndStopsAtTheClientEdge) {
    moveTo(50, 50);
    test.clearReceived();
    input.buttonDown(XInput::kLeftButton);
    ASSERT_TRUE(test.waitFor(WM_LBUTTONDOWN));
    ReceivedMessage down = test.receivedOf(WM_LBUTTONDOWN).at(0);
    EXPECT_EQ(down.wParam, static_cast<WPARAM>(MK_LBUTTON));
    EXPECT_EQ(down.lParam, MAKELPARAM(50, 50));

    ReceivedMessage drag = moveTo(60, 70);
    EXPECT_EQ(drag.wParam, static_cast<WPARAM>(MK_LBUTTON));
    EXPECT_EQ(drag.lParam, MAKELPARAM(60, 70));

    // Out over the frame and the menu-less caption: Windows does not deliver
    // these to a window without capture, and never negative coordinates.
    test.clearReceived();
    input.moveTo(test.window(), -5, 30);
    input.moveTo(test.window(), 30, -5);
    input.moveTo(test.window(), 600, 30);
    test.pumpFor(200);
    EXPECT_TRUE(test.receivedOf(WM_MOUSEMOVE).empty());

    drag = moveTo(40, 45);
    EXPECT_EQ(drag.wParam, static_cast<WPARAM>(MK_LBUTTON));
    test.clearReceived();
    input.buttonUp(XInput::kLeftButton);
    ASSERT_TRUE(test.waitFor(WM_LBUTTONUP));
    ReceivedMessage up = test.receivedOf(WM_LBUTTONUP).at(0);
    EXPECT_EQ(up.wParam, 0u);
    EXPECT_EQ(up.lParam, MAKELPARAM(40, 45));
}

TEST_F(Mouse, ComingOverTheClientAreaIsAMove) {
    input.moveTo(test.window(), 600, 30);
    test.pumpFor(100);
    // Straight in from outside: the entry point is where the next drag step
    // is measured from.
    ReceivedMessage entered = moveTo(120, 90);
    EXPECT_EQ(entered.lParam, MAKELPARAM(120, 90));
}

TEST_F(Mouse, AMoveRightBeforeAPressOrReleaseIsReportedFirst) {
    moveTo(30, 30);
    // Move and press, then move and release, each pair in one batch.
    test.clearReceived();
    input.moveTo(test.window(), 70, 40);
    input.buttonDown(XInput::kLeftButton);
    ASSERT_TRUE(test.waitFor(WM_LBUTTONDOWN));
    input.moveTo(test.window(), 90, 60);
    input.buttonUp(XInput::kLeftButton);
    ASSERT_TRUE(test.waitFor(WM_LBUTTONUP));

    std::vector<ReceivedMessage> pointer;
    for (const ReceivedMessage& m : test.received()) {
        if (m.message == WM_MOUSEMOVE || m.message == WM_LBUTTONDOWN || m.message == WM_LBUTTONUP) pointer.push_back(m);
    }
    ASSERT_EQ(pointer.size(), 4u);
    EXPECT_EQ(pointer[0].message, static_cast<UINT>(WM_MOUSEMOVE));
    EXPECT_EQ(pointer[0].lParam, MAKELPARAM(70, 40));
    EXPECT_EQ(pointer[0].wParam, 0u);
    EXPECT_EQ(pointer[1].message, static_cast<UINT>(WM_LBUTTONDOWN));
    EXPECT_EQ(pointer[2].message, static_cast<UINT>(WM_MOUSEMOVE));
    EXPECT_EQ(pointer[2].lParam, MAKELPARAM(90, 60));
    EXPECT_EQ(pointer[2].wParam, static_cast<WPARAM>(MK_LBUTTON));
    EXPECT_EQ(pointer[3].message, static_cast<UINT>(WM_LBUTTONUP));
}

// The viewer drags with the left button alone; the others send nothing.
TEST_F(Mouse, OnlyTheLeftButtonHasMessages) {
    moveTo(100, 100);
    for (int button : {XInput::kMiddleButton, XInput::kRightButton, XInput::kLeftButton}) {
        test.clearReceived();
        input.buttonDown(button);
        input.buttonUp(button);
        test.pumpFor(100);
        bool left = button == XInput::kLeftButton;
        ASSERT_EQ(test.received().size(), left ? 2u : 0u) << "button " << button;
        if (!left) continue;
        EXPECT_EQ(test.received()[0].message, static_cast<UINT>(WM_LBUTTONDOWN));
        EXPECT_EQ(test.received()[0].wParam, static_cast<WPARAM>(MK_LBUTTON));
        EXPECT_EQ(test.received()[1].message, static_cast<UINT>(WM_LBUTTONUP));
        EXPECT_EQ(test.received()[1].wParam, 0u);
    }
}

TEST_F(Mouse, TheWheelGivesPlusOneNotchAwayAndMinusOneTowardTheUser) {
    moveTo(30, 40);
    int screenX = 0;
    int screenY = 0;
    input.clientToScreen(test.window(), 30, 40, &screenX, &screenY);

    test.clearReceived();
    input.wheel(XInput::kWheelAway);
    ASSERT_TRUE(test.waitFor(WM_MOUSEWHEEL));
    ReceivedMessage away = test.receivedOf(WM_MOUSEWHEEL).at(0);
    EXPECT_EQ(static_cast<short>(HIWORD(away.wParam)), WHEEL_DELTA);
    EXPECT_EQ(LOWORD(away.wParam), 0);
    EXPECT_EQ(away.lParam, MAKELPARAM(screenX, screenY)) << "screen, not client, position";

    test.clearReceived();
    input.wheel(XInput::kWheelToward);
    ASSERT_TRUE(test.waitFor(WM_MOUSEWHEEL));
    EXPECT_EQ(static_cast<short>(HIWORD(test.receivedOf(WM_MOUSEWHEEL).at(0).wParam)), -WHEEL_DELTA);
    test.pumpFor(100);
    EXPECT_EQ(test.receivedOf(WM_MOUSEWHEEL).size(), 1u) << "one notch, one message";
    EXPECT_TRUE(test.receivedOf(WM_LBUTTONDOWN).empty());
}

}  // namespace
