// The widgets of a window: input queued as Windows queues it, the keyboard
// focus, the window manager's close, minimise and resize.

#include "platform/linux/widgets.h"

#include <bitset>

#include <FL/Fl.H>
#include <FL/x.H>

#include "platform/linux/keys.h"
#include "platform/linux/queue.h"

namespace platform {

namespace {

// The window a widget belongs to, null once destroyed (the toolkit deletes
// the widgets later, and may hand them events until then).
HWND windowOf(Fl_Widget* widget) { return static_cast<HWND>(widget->top_window()->user_data()); }

class TopWindow : public Fl_Window {
public:
    using Fl_Window::Fl_Window;
    int handle(int event) override;
    void resize(int x, int y, int width, int height) override;
};

// The client area. The toolkit never draws into or swaps it: frames come only
// from the viewer's loop; an expose is left alone as WM_PAINT's default is.
class ClientView : public Fl_Gl_Window {
public:
    using Fl_Gl_Window::Fl_Gl_Window;
    int handle(int event) override;
    void draw() override {}
    void flush() override {}

private:
    LPARAM lastMove_ = -1;  // client position of the last WM_MOUSEMOVE
};

// Keys down as this thread has seen them, for the previous-state bit.
std::bitset<256> keysDown;

// Sent at once, as on Windows. Keys let go while another program has the
// focus never reach this window: the thread forgets they were down, and
// key-downs not yet taken are dropped so that none waits for its key-up.
void setKeyboardFocus(HWND window, bool focused) {
    if (window->focused == focused) return;
    window->focused = focused;
    if (!focused) {
        keysDown.reset();
        discardKeyDownsFor(window);
    }
    sendMessage(window, focused ? WM_SETFOCUS : WM_KILLFOCUS, 0, 0);
}

// The X focus of a top-level window is its keyboard focus. An open menu's
// keyboard grab, which X reports as the focus leaving and coming back, and
// moves between the window and its subwindows change nothing, as on Windows.
int onFocusEvent(void* event, void*) {
    const XEvent* xEvent = static_cast<const XEvent*>(event);
    if (xEvent->type != FocusIn && xEvent->type != FocusOut) return 0;
    const XFocusChangeEvent& change = xEvent->xfocus;
    if (change.mode == NotifyGrab || change.mode == NotifyUngrab || change.detail == NotifyInferior) return 0;
    if (HWND window = windowWithTopLevel(change.window)) setKeyboardFocus(window, change.type == FocusIn);
    return 0;  // the toolkit handles the event as well
}

// WM_KEYDOWN / WM_KEYUP for the toolkit's key event; false for a key with
// no virtual-key code. lParam: repeat count 1; bit 30 the previous state,
// bit 31 set for a release. Scan codes are not provided.
bool postKeyMessage(HWND window, int event) {
    int virtualKey = virtualKeyOfEvent();
    if (!virtualKey) return false;
    bool down = event == FL_KEYDOWN;
    LPARAM lParam = 1;
    if (!down || keysDown[virtualKey]) lParam |= LPARAM(1) << 30;
    if (!down) lParam |= LPARAM(1) << 31;
    postInputMessage(window, down ? WM_KEYDOWN : WM_KEYUP, virtualKey, lParam);
    keysDown[virtualKey] = down;
    return true;
}

WPARAM leftButtonFlag() { return (Fl::event_state() & FL_BUTTON1) ? MK_LBUTTON : 0; }

// The close box (WM_DELETE_WINDOW) and an Escape no widget takes reach the
// window callback; only the first means WM_CLOSE, queued with the input as
// Windows sends it while handling the click.
void onWindowCallback(Fl_Widget*, void* window) {
    if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
    if (window) postInputMessage(static_cast<HWND>(window), WM_CLOSE, 0, 0);
}

}  // namespace

int TopWindow::handle(int event) {
    HWND window = windowOf(this);
    if (!window) return Fl_Window::handle(event);
    switch (event) {
        case FL_KEYDOWN:
        case FL_KEYUP:
            // Reached when the focus is not on the client area.
            if (postKeyMessage(window, event)) return 1;
            break;
        // The window manager unmaps a window it minimises.
        case FL_HIDE:
        case FL_SHOW:
            if (window->minimized != (event == FL_HIDE)) {
                window->minimized = event == FL_HIDE;
                clientAreaChanged(window);
            }
            break;
        default:
            break;
    }
    return Fl_Window::handle(event);
}

void TopWindow::resize(int x, int y, int width, int height) {
    Fl_Window::resize(x, y, width, height);
    if (HWND window = windowOf(this)) clientAreaChanged(window);
}

int ClientView::handle(int event) {
    HWND window = windowOf(this);
    if (!window) return Fl_Gl_Window::handle(event);
    int x = Fl::event_x(), y = Fl::event_y();
    // Without mouse capture Windows delivers only what happens over the
    // client area; the toolkit keeps sending a pressed widget its drags.
    bool inside = x >= 0 && y >= 0 && x < w() && y < h();
    LPARAM position = MAKELPARAM(x, y);
    bool left = Fl::event_button() == FL_LEFT_MOUSE;
    switch (event) {
        case FL_LEAVE:
            lastMove_ = -1;
            return 1;
        case FL_FOCUS:
        case FL_UNFOCUS:
            return 1;  // asks for keys
        case FL_KEYDOWN:
        case FL_KEYUP:
            return postKeyMessage(window, event) ? 1 : Fl_Gl_Window::handle(event);
        // Windows reports the pointer's entry as a move, so a drag counts from
        // there, and only real moves: the toolkit repeats one after a release.
        case FL_ENTER:
        case FL_MOVE:
        case FL_DRAG:
            if (!inside) {
                lastMove_ = -1;
            } else if (position != lastMove_) {
                postInputMessage(window, WM_MOUSEMOVE, leftButtonFlag(), position);
                lastMove_ = position;
            }
            return 1;
        case FL_PUSH:
        case FL_RELEASE:
            if (!left || !inside) return 1;
            // The toolkit drops a pending move when a press or release comes
            // in the same batch; Windows reports the move first, with the
            // button as it was, so a drag loses no step.
            if (position != lastMove_) {
                postInputMessage(window, WM_MOUSEMOVE, event == FL_PUSH ? 0 : MK_LBUTTON, position);
                lastMove_ = position;
            }
            if (event == FL_PUSH) Fl::focus(this);
            postInputMessage(window, event == FL_PUSH ? WM_LBUTTONDOWN : WM_LBUTTONUP,
                             event == FL_PUSH ? MK_LBUTTON : 0, position);
            return 1;
        case FL_MOUSEWHEEL: {
            // One notch is one toolkit step: away from the user dy is -1 and
            // Windows' delta +120. Horizontal wheels have no message here.
            int notches = -Fl::event_dy();
            if (notches == 0) return 1;
            WPARAM wParam = MAKEWPARAM(leftButtonFlag(), notches * WHEEL_DELTA);
            postInputMessage(window, WM_MOUSEWHEEL, wParam, MAKELPARAM(Fl::event_x_root(), Fl::event_y_root()));
            return 1;
        }
        default:
            return Fl_Gl_Window::handle(event);
    }
}

void makeWidgets(HWND window, int x, int y, int width, int height, int clientMode) {
    static bool watchingFocus = false;
    if (!watchingFocus) Fl::add_system_handler(onFocusEvent, nullptr);
    watchingFocus = true;
    window->top = new TopWindow(x, y, width, height);
    window->client = new ClientView(0, 0, width, height);
    window->client->mode(clientMode);
    window->top->end();
    window->top->resizable(window->client);
    window->top->callback(onWindowCallback, window);
}

}  // namespace platform
