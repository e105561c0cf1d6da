// Real X input for tests, sent with XTest over a connection of its own so
// that it reaches the window through the X server like a user's. Keys are
// named by X keysyms (XK_* from <X11/keysymdef.h>); the X headers are not
// included here because their macros (None, Bool...) clash with gtest's.
#pragma once

#include <vector>

#include "platform/win32.h"

struct _XDisplay;
class TestWindow;

// Whether the platform layer's own X connection gets a held key's repeats
// as presses alone (XKB's detectable auto-repeat).
bool layerGetsRepeatsAsPressesAlone();

// Asks a top-level X window to close, as a window manager's close box does:
// WM_DELETE_WINDOW through WM_PROTOCOLS. The caller flushes or syncs.
void sendCloseRequest(_XDisplay* display, unsigned long topLevelWindow);

class XInput {
public:
    static constexpr int kLeftButton = 1;
    static constexpr int kMiddleButton = 2;
    static constexpr int kRightButton = 3;
    static constexpr int kWheelAway = 4;     // wheel turned away from the user
    static constexpr int kWheelToward = 5;

    XInput();
    ~XInput();
    XInput(const XInput&) = delete;
    XInput& operator=(const XInput&) = delete;

    // Pumps the window's messages until its top-level X window is mapped,
    // then gives it the keyboard focus with the pointer over the middle of
    // its client area. Returns whether the window became viewable.
    bool showAndFocus(TestWindow& test);
    bool isViewable(HWND window);
    // The keyboard focus to the window's top-level X window, or to none, as
    // when the user switches to another program.
    void focus(HWND window);
    void removeFocus();

    void keyDown(unsigned long keysym);
    void keyUp(unsigned long keysym);
    // Gives a keysym that the server's keymap lacks (a letter beyond ASCII,
    // say) a key code no key uses, so that keyDown and keyUp can send it.
    // The destructor takes the binding back.
    void bindSpareKey(unsigned long keysym);
    // Makes the key that types `usKeysym` on the US map type `keysym`, as
    // another layout does; the key keeps its place (its XKB name). keyDown
    // finds it by `keysym` when its key code is the lower one, as the digit
    // row's are. The destructor takes the binding back.
    void bindKeyAt(unsigned long usKeysym, unsigned long keysym);
    // Moves the pointer to a point given in client coordinates of the window.
    void moveTo(HWND window, int x, int y);
    void buttonDown(int button);
    void buttonUp(int button);
    // One wheel notch: a press and release of button 4 or 5.
    void wheel(int button);

    // What the window manager does: the close box (a WM_DELETE_WINDOW
    // client message), minimising or restoring (unmapping or mapping) and
    // resizing the top-level window to a new inner size.
    void requestClose(HWND window);
    void unmap(HWND window);
    void map(HWND window);
    void resize(HWND window, int width, int height);

    // The colour the X server shows at a point of the client area, as
    // 0xRRGGBB: what SwapBuffers has presented.
    unsigned long shownColour(HWND window, int x, int y);

    // The connection, for tests that ask the X server something directly.
    _XDisplay* display() const { return display_; }

    // The screen position of a point given in client coordinates.
    void clientToScreen(HWND window, int x, int y, int* screenX, int* screenY);

private:
    void flush();

    std::vector<unsigned char> boundKeyCodes_;

    _XDisplay* display_ = nullptr;
};
