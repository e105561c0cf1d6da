#include "tests/support/x_input.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <FL/x.H>
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include "platform/linux/display.h"
#include "tests/support/test_window.h"

XInput::XInput() {
    display_ = platform::connectToDisplay();
    if (!display_) {
        ADD_FAILURE() << "no X display for test input";
        return;
    }
    int eventBase, errorBase, major, minor;
    EXPECT_TRUE(XTestQueryExtension(display_, &eventBase, &errorBase, &major, &minor)) << "XTest is missing";
}

XInput::~XInput() {
    if (!display_) return;
    for (unsigned char code : boundKeyCodes_) {
        KeySym none = NoSymbol;
        XChangeKeyboardMapping(display_, code, 1, &none, 1);
    }
    XCloseDisplay(display_);
}

void XInput::bindSpareKey(unsigned long keysym) {
    if (XKeysymToKeycode(display_, keysym) != 0) return;
    int first = 0;
    int last = 0;
    XDisplayKeycodes(display_, &first, &last);
    int perCode = 0;
    KeySym* map = XGetKeyboardMapping(display_, first, last - first + 1, &perCode);
    ASSERT_NE(map, nullptr);
    int spare = 0;
    for (int code = last; code >= first && !spare; --code) {
        const KeySym* symbols = map + (code - first) * perCode;
        if (std::all_of(symbols, symbols + perCode, [](KeySym symbol) { return symbol == NoSymbol; })) spare = code;
    }
    XFree(map);
    ASSERT_NE(spare, 0) << "no spare key code";
    KeySym bound = keysym;
    XChangeKeyboardMapping(display_, spare, 1, &bound, 1);
    boundKeyCodes_.push_back(static_cast<unsigned char>(spare));
    flush();
}

void XInput::bindKeyAt(unsigned long usKeysym, unsigned long keysym) {
    KeyCode code = XKeysymToKeycode(display_, usKeysym);
    ASSERT_NE(code, 0) << "no key for keysym " << usKeysym;
    KeySym bound = keysym;
    XChangeKeyboardMapping(display_, code, 1, &bound, 1);
    boundKeyCodes_.push_back(code);
    flush();
    ASSERT_EQ(XKeysymToKeycode(display_, keysym), code) << "another key types keysym " << keysym;
}

bool layerGetsRepeatsAsPressesAlone() {
    Bool supported = False;
    return fl_display && XkbGetDetectableAutoRepeat(fl_display, &supported);
}

// XSync, not XFlush: the server has handled every fake event before the
// test starts pumping the window's own connection.
void XInput::flush() { XSync(display_, False); }

bool XInput::isViewable(HWND window) {
    Window xWindow = platform::topLevelXWindow(window);
    XWindowAttributes attributes;
    return xWindow && XGetWindowAttributes(display_, xWindow, &attributes) && attributes.map_state == IsViewable;
}

bool XInput::showAndFocus(TestWindow& test) {
    HWND window = test.window();
    if (!test.pumpUntil([&] { return isViewable(window); })) return false;
    RECT client;
    GetClientRect(window, &client);
    moveTo(window, client.right / 2, client.bottom / 2);
    focus(window);
    // Let the focus change and the pointer's arrival reach the window before
    // the test's own input.
    test.pumpFor(100);
    test.clearReceived();
    return true;
}

void XInput::focus(HWND window) {
    XSetInputFocus(display_, platform::topLevelXWindow(window), RevertToParent, CurrentTime);
    flush();
}

void XInput::removeFocus() {
    XSetInputFocus(display_, None, RevertToNone, CurrentTime);
    flush();
}

void XInput::keyDown(unsigned long keysym) {
    KeyCode code = XKeysymToKeycode(display_, keysym);
    ASSERT_NE(code, 0) << "no key for keysym " << keysym;
    XTestFakeKeyEvent(display_, code, True, CurrentTime);
    flush();
}

void XInput::keyUp(unsigned long keysym) {
    XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, keysym), False, CurrentTime);
    flush();
}

void XInput::clientToScreen(HWND window, int x, int y, int* screenX, int* screenY) {
    Window child;
    XTranslateCoordinates(display_, platform::clientXWindow(window), DefaultRootWindow(display_), x, y, screenX,
                          screenY, &child);
}

unsigned long XInput::shownColour(HWND window, int x, int y) {
    XImage* image = XGetImage(display_, platform::clientXWindow(window), x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image) return ~0ul;
    unsigned long pixel = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    // The test screen is TrueColor with 8 bits a channel.
    return pixel & 0xFFFFFF;
}

void XInput::moveTo(HWND window, int x, int y) {
    int screenX = 0;
    int screenY = 0;
    clientToScreen(window, x, y, &screenX, &screenY);
    XTestFakeMotionEvent(display_, DefaultScreen(display_), screenX, screenY, CurrentTime);
    flush();
}

void XInput::buttonDown(int button) {
    XTestFakeButtonEvent(display_, button, True, CurrentTime);
    flush();
}

void XInput::buttonUp(int button) {
    XTestFakeButtonEvent(display_, button, False, CurrentTime);
    flush();
}

void XInput::wheel(int button) {
    buttonDown(button);
    buttonUp(button);
}

void sendCloseRequest(Display* display, unsigned long topLevelWindow) {
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = topLevelWindow;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, topLevelWindow, False, NoEventMask, &event);
}

void XInput::requestClose(HWND window) {
    sendCloseRequest(display_, platform::topLevelXWindow(window));
    flush();
}

void XInput::unmap(HWND window) {
    XUnmapWindow(display_, platform::topLevelXWindow(window));
    flush();
}

void XInput::map(HWND window) {
    XMapWindow(display_, platform::topLevelXWindow(window));
    flush();
}

void XInput::resize(HWND window, int width, int height) {
    XResizeWindow(display_, platform::topLevelXWindow(window), width, height);
    flush();
}
