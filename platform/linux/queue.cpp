// The thread's message queue: posted messages in order, the quit flag, and
// the toolkit's X events turned into messages as PeekMessageA runs.

#include <algorithm>
#include <chrono>
#include <deque>
#include <poll.h>

#include <FL/Fl.H>
#include <FL/x.H>

#include "platform/linux/queue.h"
#include "platform/linux/window.h"

namespace platform {

namespace {

using Clock = std::chrono::steady_clock;

// Even with no X input the toolkit gets a turn this often, for its own
// timers and for requests left in Xlib's output buffer.
constexpr auto kToolkitPassInterval = std::chrono::milliseconds(10);
// Asking the kernel whether the X connection has input is a system call of
// about 1.5 us on our machines, most of an idle peek's budget; at most once a
// millisecond keeps input latency far below a frame.
constexpr auto kConnectionPollInterval = std::chrono::milliseconds(1);

std::deque<MSG> queue;
bool quitPosted = false;
int quitCode = 0;
POINT cursorPosition = {0, 0};
bool toolkitPassRequested = false;
bool insideToolkitPass = false;
Clock::time_point lastToolkitPass;
Clock::time_point lastConnectionPoll;

bool connectionHasInput() {
    pollfd connection = {ConnectionNumber(fl_display), POLLIN, 0};
    return poll(&connection, 1, 0) > 0;
}

bool toolkitHasWork(Clock::time_point now) {
    if (toolkitPassRequested || Fl::damage() || XEventsQueued(fl_display, QueuedAlready) > 0 ||
        now - lastToolkitPass >= kToolkitPassInterval) {
        return true;
    }
    if (now - lastConnectionPoll < kConnectionPollInterval) return false;
    lastConnectionPoll = now;
    return connectionHasInput();
}

// Runs the toolkit without blocking when it has something to do: X events
// become posted messages (input) or window procedure calls (WM_SIZE), damaged
// widgets are redrawn. A bare Fl::check() costs about 8 us, too much for
// every frame, so the idle path only asks cheap questions.
void letToolkitRun() {
    if (!fl_display || insideToolkitPass) return;
    Clock::time_point now = Clock::now();
    if (!toolkitHasWork(now)) return;
    insideToolkitPass = true;
    toolkitPassRequested = false;
    Fl::check();
    insideToolkitPass = false;
    lastToolkitPass = now;
}

// Window filter: null takes every message, (HWND)-1 only thread messages.
// Range: 0, 0 takes every message.
bool matches(const MSG& message, HWND window, UINT first, UINT last) {
    bool windowMatches = !window || message.hwnd == window ||
                         (window == reinterpret_cast<HWND>(-1) && !message.hwnd);
    bool rangeMatches = (first == 0 && last == 0) || (message.message >= first && message.message <= last);
    return windowMatches && rangeMatches;
}

MSG makeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return MSG{window, message, wParam, lParam, GetTickCount(), cursorPosition};
}

}  // namespace

void noteCursorPosition(int x, int y) { cursorPosition = POINT{x, y}; }

void discardMessagesFor(HWND window) {
    queue.erase(std::remove_if(queue.begin(), queue.end(), [window](const MSG& message) { return message.hwnd == window; }),
                queue.end());
}

void requestToolkitPass() { toolkitPassRequested = true; }

}  // namespace platform

using namespace platform;

BOOL WINAPI PeekMessageA(LPMSG message, HWND window, UINT first, UINT last, UINT removeMsg) {
    if (!message) return FALSE;
    letToolkitRun();
    auto found = std::find_if(queue.begin(), queue.end(),
                              [&](const MSG& queued) { return matches(queued, window, first, last); });
    if (found != queue.end()) {
        *message = *found;
        if (removeMsg & PM_REMOVE) queue.erase(found);
        return TRUE;
    }
    // WM_QUIT comes out only once nothing else is waiting.
    MSG quit = makeMessage(nullptr, WM_QUIT, static_cast<WPARAM>(quitCode), 0);
    if (quitPosted && matches(quit, window, first, last)) {
        *message = quit;
        if (removeMsg & PM_REMOVE) quitPosted = false;
        return TRUE;
    }
    return FALSE;
}

// No character messages are made: the viewer reads virtual keys only.
BOOL WINAPI TranslateMessage(const MSG* message) {
    return message && (message->message == WM_KEYDOWN || message->message == WM_KEYUP);
}

LRESULT WINAPI DispatchMessageA(const MSG* message) {
    if (!message || !isLiveWindow(message->hwnd)) return 0;
    return sendMessage(message->hwnd, message->message, message->wParam, message->lParam);
}

// A null window posts a thread message, which is never dispatched.
BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window && !isLiveWindow(window)) return FALSE;
    queue.push_back(makeMessage(window, message, wParam, lParam));
    return TRUE;
}

void WINAPI PostQuitMessage(int exitCode) {
    quitPosted = true;
    quitCode = exitCode;
}
