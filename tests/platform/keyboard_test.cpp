// Keys sent as real X key events arrive as WM_KEYDOWN / WM_KEYUP with Win32
// virtual-key codes.

#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#define XK_MISCELLANY
#define XK_LATIN1
#include <X11/keysymdef.h>

#include "tests/support/test_window.h"
#include "tests/support/x_input.h"

namespace {

class Keyboard : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(input.showAndFocus(test)); }

    // Presses and releases a key; returns the codes of the WM_KEYDOWN and
    // WM_KEYUP it gave (0 when none came).
    std::pair<WPARAM, WPARAM> tap(unsigned long keysym) {
        test.clearReceived();
        input.keyDown(keysym);
        input.keyUp(keysym);
        test.pumpUntil([&] { return !test.receivedOf(WM_KEYUP).empty(); }, 1000);
        std::vector<ReceivedMessage> downs = test.receivedOf(WM_KEYDOWN);
        std::vector<ReceivedMessage> ups = test.receivedOf(WM_KEYUP);
        return {downs.empty() ? 0 : downs.back().wParam, ups.empty() ? 0 : ups.back().wParam};
    }

    TestWindow test;
    XInput input;
};

struct KeyCase {
    unsigned long keysym;
    WPARAM virtualKey;
};

TEST_F(Keyboard, KeysArriveWithTheirVirtualKeyCodes) {
    const KeyCase kCases[] = {
        {XK_a, 'A'},           {XK_w, 'W'},           {XK_z, 'Z'},         {XK_0, '0'},
        {XK_1, '1'},           {XK_9, '9'},           {XK_Escape, VK_ESCAPE}, {XK_space, VK_SPACE},
        {XK_Return, VK_RETURN}, {XK_Tab, VK_TAB},     {XK_BackSpace, VK_BACK}, {XK_Left, VK_LEFT},
        {XK_Up, VK_UP},        {XK_Right, VK_RIGHT},  {XK_Down, VK_DOWN},  {XK_F1, VK_F1},
        {XK_F12, VK_F12},      {XK_Shift_L, VK_SHIFT}, {XK_Control_L, VK_CONTROL}, {XK_Alt_L, VK_MENU},
        {XK_Insert, VK_INSERT}, {XK_Delete, VK_DELETE}, {XK_Home, VK_HOME}, {XK_End, VK_END},
        {XK_Prior, VK_PRIOR},  {XK_Next, VK_NEXT},    {XK_semicolon, VK_OEM_1}, {XK_minus, VK_OEM_MINUS},
        {XK_bracketleft, VK_OEM_4}, {XK_apostrophe, VK_OEM_7}, {XK_slash, VK_OEM_2}, {XK_grave, VK_OEM_3},
    };
    for (const KeyCase& key : kCases) {
        std::pair<WPARAM, WPARAM> codes = tap(key.keysym);
        EXPECT_EQ(codes.first, key.virtualKey) << "key down of keysym 0x" << std::hex << key.keysym;
        EXPECT_EQ(codes.second, key.virtualKey) << "key up of keysym 0x" << std::hex << key.keysym;
    }
}

TEST_F(Keyboard, LettersKeepTheirCodeWithShiftHeld) {
    input.keyDown(XK_Shift_L);
    EXPECT_EQ(tap(XK_a).first, static_cast<WPARAM>('A'));
    EXPECT_EQ(tap(XK_q).first, static_cast<WPARAM>('Q'));
    EXPECT_EQ(tap(XK_2).first, static_cast<WPARAM>('2'));
    input.keyUp(XK_Shift_L);
}

TEST_F(Keyboard, KeypadDigitsFollowNumLockAsOnWindows) {
    input.keyDown(XK_Num_Lock);
    input.keyUp(XK_Num_Lock);
    EXPECT_EQ(tap(XK_KP_7).first, static_cast<WPARAM>(VK_NUMPAD7));
    input.keyDown(XK_Num_Lock);
    input.keyUp(XK_Num_Lock);
    EXPECT_EQ(tap(XK_KP_7).first, static_cast<WPARAM>(VK_HOME));
}

TEST_F(Keyboard, KeyMessagesCarryRepeatCountAndTransitionBits) {
    test.clearReceived();
    input.keyDown(XK_d);
    input.keyUp(XK_d);
    ASSERT_TRUE(test.waitFor(WM_KEYUP));
    LPARAM down = test.receivedOf(WM_KEYDOWN).at(0).lParam;
    LPARAM up = test.receivedOf(WM_KEYUP).at(0).lParam;
    EXPECT_EQ(LOWORD(down), 1);
    EXPECT_EQ((down >> 30) & 3, 0) << "first press: not down before, a press";
    EXPECT_EQ(LOWORD(up), 1);
    EXPECT_EQ((up >> 30) & 3, 3) << "release: down before, a release";

    // The release cleared the key's held state: a second press is a first
    // press again, not a repeat.
    input.keyDown(XK_d);
    input.keyUp(XK_d);
    ASSERT_TRUE(test.pumpUntil([&] { return test.receivedOf(WM_KEYUP).size() == 2; }));
    EXPECT_EQ((test.receivedOf(WM_KEYDOWN).at(1).lParam >> 30) & 3, 0) << "second press: not down before";
}

// The X server repeats after about 660 ms; on a loaded machine it may lag,
// so the key is held until repeats have come (1 s at least).
TEST_F(Keyboard, HoldingAKeyRepeatsKeyDownAndReleasesOnce) {
    test.clearReceived();
    input.keyDown(XK_w);
    auto heldLongEnough = std::chrono::steady_clock::now() + std::chrono::milliseconds(1000);
    test.pumpUntil([&] {
        return std::chrono::steady_clock::now() >= heldLongEnough && test.receivedOf(WM_KEYDOWN).size() >= 3;
    }, 5000);
    input.keyUp(XK_w);
    ASSERT_TRUE(test.waitFor(WM_KEYUP));
    test.pumpFor(200);

    std::vector<ReceivedMessage> downs = test.receivedOf(WM_KEYDOWN);
    EXPECT_GE(downs.size(), 3u);
    EXPECT_EQ(test.receivedOf(WM_KEYUP).size(), 1u);
    EXPECT_EQ(test.received().back().message, static_cast<UINT>(WM_KEYUP));
    for (size_t i = 0; i < downs.size(); ++i) {
        EXPECT_EQ(downs[i].wParam, static_cast<WPARAM>('W'));
        EXPECT_EQ((downs[i].lParam >> 30) & 1, i == 0 ? 0 : 1) << "previous-state bit of press " << i;
    }
}

// A key-down the window has not taken when the focus goes is dropped: its
// key-up will go to the window that has the focus then.
TEST_F(Keyboard, FocusChangesAreSentAndDropTheKeyDownsStillWaiting) {
    input.keyDown(XK_w);
    input.removeFocus();
    ASSERT_TRUE(test.waitFor(WM_KILLFOCUS));
    input.keyUp(XK_w);
    test.pumpFor(100);
    EXPECT_TRUE(test.receivedOf(WM_KEYDOWN).empty());
    EXPECT_TRUE(test.receivedOf(WM_KEYUP).empty());

    input.focus(test.window());
    ASSERT_TRUE(test.waitFor(WM_SETFOCUS));
    EXPECT_EQ(test.receivedOf(WM_KILLFOCUS).size(), 1u);
    EXPECT_EQ(tap(XK_w).first, static_cast<WPARAM>('W'));
}

TEST_F(Keyboard, EscapeIsAKeyAndDoesNotCloseTheWindow) {
    EXPECT_EQ(tap(XK_Escape).first, static_cast<WPARAM>(VK_ESCAPE));
    test.pumpFor(200);
    EXPECT_TRUE(test.receivedOf(WM_CLOSE).empty());
    EXPECT_TRUE(test.receivedOf(WM_DESTROY).empty());
    EXPECT_TRUE(input.isViewable(test.window()));
}

}  // namespace
