// The thread's message queue, on the window registry; the toolkit's X events
// become messages as PeekMessageA runs.

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
// Asking the kernel whether X has input costs about 1.5 us here, most of an
// idle peek's budget; once a millisecond keeps latency far below a frame.
constexpr auto kConnectionPollInterval = std::chrono::milliseconds(1);

constexpr LPARAM kPreviousKeyState = LPARAM(1) << 30;
constexpr LPARAM kRepeatCountMask = 0xFFFF;

std::deque<MSG> posted;
std::deque<MSG> input;
bool quitPosted = false;
int quitCode = 0;
bool toolkitPassRequested = false;
bool insideToolkitPass = false;
Clock::time_point lastToolkitPass;
Clock::time_point lastConnectionPoll;

bool toolkitHasWork(Clock::time_point now) {
    if (toolkitPassRequested || Fl::damage() || XEventsQueued(fl_display, QueuedAlready) > 0 ||
        now - lastToolkitPass >= kToolkitPassInterval) {
        return true;
    }
    if (now - lastConnectionPoll < kConnectionPollInterval) return false;
    lastConnectionPoll = now;
    pollfd connection = {ConnectionNumber(fl_display), POLLIN, 0};
    return poll(&connection, 1, 0) > 0;
}

// Runs the toolkit without blocking when it has something to do: X events
// become queued input or window procedure calls, damaged widgets are
// redrawn. A bare Fl::check() costs about 8 us, too much for every frame,
// so the idle path only asks cheap questions.
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

bool takeFrom(std::deque<MSG>& queue, LPMSG message) {
    if (queue.empty()) return false;
    *message = queue.front();
    queue.pop_front();
    return true;
}

MSG makeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return MSG{window, message, wParam, lParam, GetTickCount(), POINT{0, 0}};
}

bool isKeyMessage(UINT message) { return message == WM_KEYDOWN || message == WM_KEYUP; }

bool isButtonMessage(UINT message) { return message == WM_LBUTTONDOWN || message == WM_LBUTTONUP; }

// The window's latest queued input message that `picks` accepts, looking
// back only as far as the latest one that `stops` names.
template <typename Picks, typename Stops>
std::deque<MSG>::iterator latestInput(HWND window, Picks picks, Stops stops) {
    for (auto it = input.end(); it != input.begin();) {
        --it;
        if (it->hwnd != window) continue;
        if (picks(it->message)) return it;
        if (stops(it->message)) break;
    }
    return input.end();
}

// A move replaces the move still waiting, unless a button changed since (the
// press or release stays between the positions around it), and keeps its
// place. Wheel turns are never merged: the zoom compounds notch by notch, so
// one turn of four notches would zoom less than four turns of one.
bool mergeMove(const MSG& move) {
    auto waiting = latestInput(move.hwnd, [](UINT m) { return m == WM_MOUSEMOVE; }, isButtonMessage);
    if (waiting == input.end()) return false;
    *waiting = move;
    return true;
}

// An auto-repeat key-down adds one to the repeat count of the same key's
// key-down still waiting, as long as no other key message came since.
bool mergeRepeat(const MSG& repeat) {
    if (!(repeat.lParam & kPreviousKeyState)) return false;
    auto waiting = latestInput(repeat.hwnd, isKeyMessage, [](UINT) { return false; });
    if (waiting == input.end() || waiting->message != WM_KEYDOWN || waiting->wParam != repeat.wParam) return false;
    LPARAM count = (waiting->lParam & kRepeatCountMask) + (repeat.lParam & kRepeatCountMask);
    if (count > kRepeatCountMask) return false;
    waiting->lParam = (waiting->lParam & ~kRepeatCountMask) | count;
    return true;
}

void eraseFrom(std::deque<MSG>& queue, HWND window, UINT message) {
    queue.erase(std::remove_if(queue.begin(), queue.end(),
                               [&](const MSG& queued) {
                                   return queued.hwnd == window && (!message || queued.message == message);
                               }),
                queue.end());
}

}  // namespace

void postInputMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!isLiveWindow(window)) return;
    MSG queued = makeMessage(window, message, wParam, lParam);
    bool merged = (message == WM_MOUSEMOVE && mergeMove(queued)) || (message == WM_KEYDOWN && mergeRepeat(queued));
    if (!merged) input.push_back(queued);
}

void discardMessagesFor(HWND window) {
    eraseFrom(posted, window, 0);
    eraseFrom(input, window, 0);
}

void discardKeyDownsFor(HWND window) { eraseFrom(input, window, WM_KEYDOWN); }

void requestToolkitPass() { toolkitPassRequested = true; }

}  // namespace platform

using namespace platform;

// Posted messages, then WM_QUIT, then input: Windows sends no WM_QUIT while
// a posted message could still start something the program must finish.
// Filters and PM_NOREMOVE would be answered wrongly, so such calls fail.
BOOL WINAPI PeekMessageA(LPMSG message, HWND window, UINT first, UINT last, UINT removeMsg) {
    if (!message || window || first || last || removeMsg != PM_REMOVE) return FALSE;
    letToolkitRun();
    if (takeFrom(posted, message)) return TRUE;
    if (quitPosted) {
        *message = makeMessage(nullptr, WM_QUIT, static_cast<WPARAM>(quitCode), 0);
        quitPosted = false;
        return TRUE;
    }
    return takeFrom(input, message);
}

// No character messages are made: the viewer reads virtual keys only.
BOOL WINAPI TranslateMessage(const MSG*) { return FALSE; }

LRESULT WINAPI DispatchMessageA(const MSG* message) {
    if (!message || !isLiveWindow(message->hwnd)) return 0;
    return sendMessage(message->hwnd, message->message, message->wParam, message->lParam);
}

// A null window posts a thread message, which is never dispatched.
BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window && !isLiveWindow(window)) return FALSE;
    posted.push_back(makeMessage(window, message, wParam, lParam));
    return TRUE;
}

void WINAPI PostQuitMessage(int exitCode) {
    quitPosted = true;
    quitCode = exitCode;
}
