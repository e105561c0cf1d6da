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

    // Presses and releases a key, then another that has a code; returns the
    // codes of the WM_KEYDOWN and WM_KEYUP the first gave (0 when none).
    std::pair<WPARAM, WPARAM> tap(unsigned long keysym) {
        test.clearReceived();
        input.keyDown(keysym);
        input.keyUp(keysym);
        // Another key: the toolkit takes a release and a press of one key
        // at the same moment for an auto-repeat.
        const bool escape = keysym == XK_Escape;
        input.keyDown(escape ? XK_q : XK_Escape);
        input.keyUp(escape ? XK_q : XK_Escape);
        auto secondUp = [&] {
            std::vector<ReceivedMessage> ups = test.receivedOf(WM_KEYUP);
            return !ups.empty() && ups.back().wParam == (escape ? 'Q' : VK_ESCAPE);
        };
        test.pumpUntil(secondUp, 1000);
        std::vector<ReceivedMessage> downs = test.receivedOf(WM_KEYDOWN);
        std::vector<ReceivedMessage> ups = test.receivedOf(WM_KEYUP);
        return {downs.size() < 2 ? 0 : downs[0].wParam, ups.size() < 2 ? 0 : ups[0].wParam};
    }

    TestWindow test;
    XInput input;
};

struct KeyCase {
    unsigned long keysym;
    WPARAM virtualKey;  // 0: the key sends nothing
    // When set, the key typing `keysym` is the one that holds this on a US
    // keyboard, as on a layout that moves it there.
    unsigned long usPlace;
};

TEST_F(Keyboard, KeysArriveWithTheirVirtualKeyCodes) {
    const KeyCase kCases[] = {
        {XK_a, 'A', 0},           {XK_w, 'W', 0},         {XK_z, 'Z', 0},      {XK_0, '0', 0},
        {XK_1, '1', 0},           {XK_9, '9', 0},         {XK_Escape, VK_ESCAPE, 0}, {XK_Alt_L, VK_MENU, 0},
        // Keys the viewer never reacts to send nothing.
        {XK_space, 0, 0},         {XK_F1, 0, 0},          {XK_Left, 0, 0},     {XK_semicolon, 0, 0},
        {XK_Shift_L, 0, 0},
        // AZERTY's digit row types ' and - on the keys of 4 and 6; they give
        // digits by their place, as on Windows.
        {XK_apostrophe, '4', XK_4}, {XK_minus, '6', XK_6},
    };
    for (const KeyCase& key : kCases) {
        if (key.usPlace) input.bindKeyAt(key.usPlace, key.keysym);
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
    // Repeats must come as presses alone: a release before each, split from
    // its press by a busy moment, would read as the key let go.
    EXPECT_TRUE(layerGetsRepeatsAsPressesAlone());
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
    EXPECT_TRUE(input.isViewable(test.window()));
}

}  // namespace
