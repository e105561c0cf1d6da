// Keyboard and mouse input of the client area, queued as Windows queues
// it, and the keyboard focus of a window.

#include <bitset>

#include <FL/Fl.H>
#include <FL/x.H>

#include "platform/linux/keys.h"
#include "platform/linux/queue.h"
#include "platform/linux/window.h"

namespace platform {

namespace {

// Keys down as this thread has seen them, for the previous-state bit.
std::bitset<256> keysDown;

// The X focus of a top-level window is its keyboard focus. The toolkit's
// menus grab the keyboard while they are open, which X reports as the focus
// leaving and coming back; on Windows an open menu leaves the focus where
// it was. A move between the window and its own subwindows changes nothing
// either.
int onFocusEvent(void* event, void*) {
    const XEvent* xEvent = static_cast<const XEvent*>(event);
    if (xEvent->type != FocusIn && xEvent->type != FocusOut) return 0;
    const XFocusChangeEvent& change = xEvent->xfocus;
    if (change.mode == NotifyGrab || change.mode == NotifyUngrab || change.detail == NotifyInferior) return 0;
    if (HWND window = windowWithTopLevel(change.window)) setKeyboardFocus(window, change.type == FocusIn);
    return 0;  // the toolkit handles the event as well
}

// lParam of a key message: repeat count 1; bit 30 the previous state, bit 31
// set for a release. Scan codes are not provided.
LPARAM keyLParam(int virtualKey, bool down) {
    LPARAM lParam = 1;
    if (!down || keysDown[virtualKey]) lParam |= LPARAM(1) << 30;
    if (!down) lParam |= LPARAM(1) << 31;
    return lParam;
}

WPARAM modifierAndButtonFlags() {
    int state = Fl::event_state();
    WPARAM flags = 0;
    if (state & FL_BUTTON1) flags |= MK_LBUTTON;
    if (state & FL_BUTTON2) flags |= MK_MBUTTON;
    if (state & FL_BUTTON3) flags |= MK_RBUTTON;
    if (state & FL_SHIFT) flags |= MK_SHIFT;
    if (state & FL_CTRL) flags |= MK_CONTROL;
    return flags;
}

struct ButtonMessages {
    WPARAM flag;
    UINT down;
    UINT up;
};

// Toolkit buttons 1, 2 and 3 are left, middle and right.
const ButtonMessages* buttonMessages(int button) {
    static const ButtonMessages kButtons[] = {
        {MK_LBUTTON, WM_LBUTTONDOWN, WM_LBUTTONUP},
        {MK_MBUTTON, WM_MBUTTONDOWN, WM_MBUTTONUP},
        {MK_RBUTTON, WM_RBUTTONDOWN, WM_RBUTTONUP},
    };
    return button >= 1 && button <= 3 ? &kButtons[button - 1] : nullptr;
}

}  // namespace

bool postKeyMessage(HWND window, int event) {
    int virtualKey = virtualKeyOfEvent();
    if (!virtualKey) return false;
    bool down = event == FL_KEYDOWN;
    postInputMessage(window, down ? WM_KEYDOWN : WM_KEYUP, virtualKey, keyLParam(virtualKey, down));
    keysDown[virtualKey] = down;
    return true;
}

void watchKeyboardFocus() {
    static bool watching = false;
    if (watching) return;
    Fl::add_system_handler(onFocusEvent, nullptr);
    watching = true;
}

// Sent at once, as Windows sends focus changes from inside the message
// calls. Keys let go while another program has the focus never reach this
// window: the thread forgets they were down, and key-downs not yet taken are
// dropped so that no key stays held for want of its key-up.
void setKeyboardFocus(HWND window, bool focused) {
    if (window->focused == focused) return;
    window->focused = focused;
    if (!focused) {
        keysDown.reset();
        discardKeyDownsFor(window);
    }
    sendMessage(window, focused ? WM_SETFOCUS : WM_KILLFOCUS, 0, 0);
}

ClientView::ClientView(HWND window, int x, int y, int width, int height)
    : Fl_Gl_Window(x, y, width, height), window_(window) {}

int ClientView::handle(int event) {
    if (!window_) return Fl_Gl_Window::handle(event);
    int x = Fl::event_x();
    int y = Fl::event_y();
    // Without mouse capture Windows delivers only what happens over the
    // client area; the toolkit keeps sending a pressed widget its drags.
    bool inside = x >= 0 && y >= 0 && x < w() && y < h();
    LPARAM position = MAKELPARAM(x, y);
    switch (event) {
        case FL_LEAVE:
            lastMove_ = -1;
            return 1;
        case FL_FOCUS:
        case FL_UNFOCUS:
            return 1;  // asks for keys
        case FL_KEYDOWN:
        case FL_KEYUP:
            return postKeyMessage(window_, event) ? 1 : Fl_Gl_Window::handle(event);
        // Windows reports the pointer coming over the client area as a move,
        // so the next drag step is measured from where it entered.
        case FL_ENTER:
        case FL_MOVE:
        case FL_DRAG:
            noteCursorPosition(Fl::event_x_root(), Fl::event_y_root());
            // The toolkit repeats the position after a release; Windows
            // reports only real moves.
            if (!inside) {
                lastMove_ = -1;
            } else if (position != lastMove_) {
                postInputMessage(window_, WM_MOUSEMOVE, modifierAndButtonFlags(), position);
                lastMove_ = position;
            }
            return 1;
        case FL_PUSH:
        case FL_RELEASE: {
            noteCursorPosition(Fl::event_x_root(), Fl::event_y_root());
            const ButtonMessages* button = buttonMessages(Fl::event_button());
            if (!button || !inside) return 1;
            // The flags describe the buttons after the change.
            WPARAM flags = modifierAndButtonFlags() & ~button->flag;
            // The toolkit drops a pending move when a press or release comes
            // in the same batch; Windows reports the move first, so a drag
            // loses no step.
            if (position != lastMove_) {
                WPARAM before = event == FL_PUSH ? flags : flags | button->flag;
                postInputMessage(window_, WM_MOUSEMOVE, before, position);
                lastMove_ = position;
            }
            if (event == FL_PUSH) {
                Fl::focus(this);
                postInputMessage(window_, button->down, flags | button->flag, position);
            } else {
                postInputMessage(window_, button->up, flags, position);
            }
            return 1;
        }
        case FL_MOUSEWHEEL: {
            // One notch is one toolkit step: away from the user dy is -1 and
            // Windows' delta +120. Horizontal wheels have no message here.
            int notches = -Fl::event_dy();
            if (notches == 0) return 1;
            noteCursorPosition(Fl::event_x_root(), Fl::event_y_root());
            WPARAM wParam = MAKEWPARAM(modifierAndButtonFlags(), notches * WHEEL_DELTA);
            postInputMessage(window_, WM_MOUSEWHEEL, wParam, MAKELPARAM(Fl::event_x_root(), Fl::event_y_root()));
            return 1;
        }
        default:
            return Fl_Gl_Window::handle(event);
    }
}

}  // namespace platform
