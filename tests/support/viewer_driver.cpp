#include "tests/support/viewer_driver.h"

#include "tests/support/scene_pixels.h"
#include "tests/support/x_input.h"

#include <stdlib.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>

namespace fs = std::filesystem;

namespace {

constexpr auto kStartTimeout = std::chrono::seconds(10);
constexpr auto kPollInterval = std::chrono::milliseconds(10);
// A still picture holds across this time and at least this many newly
// presented frames, enough for every queued input message to have been
// taken (one a frame).
constexpr auto kStillInterval = std::chrono::milliseconds(50);
constexpr int kStillFrames = 4;
constexpr auto kDragStepGap = std::chrono::milliseconds(4);

void pause(std::chrono::milliseconds duration) { std::this_thread::sleep_for(duration); }

std::string windowName(Display* display, Window window) {
    char* name = nullptr;
    if (!XFetchName(display, window, &name) || !name) return {};
    std::string text = name;
    XFree(name);
    return text;
}

std::vector<Window> childrenOf(Display* display, Window window) {
    Window root, parent;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, window, &root, &parent, &children, &count)) return {};
    std::vector<Window> list(children, children + count);
    if (children) XFree(children);
    return list;
}

Rect rootRectOf(Display* display, Window window) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) return {};
    int x = 0, y = 0;
    Window child;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
    return {x, y, attributes.width, attributes.height};
}

bool isViewable(Display* display, Window window) {
    XWindowAttributes attributes;
    return XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable;
}

}  // namespace

std::string sixtyHertzDisplay() { return std::string("LD_PRELOAD=") + VERRINE_SIXTY_HERTZ_PRELOAD; }

ViewerDriver::ViewerDriver() {
    std::string pattern = (fs::temp_directory_path() / "verrine-e2e-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        ADD_FAILURE() << "cannot make a scratch directory";
        return;
    }
    scratch_ = pattern;
    fs::copy(fs::path(VERRINE_SOURCE_DIR) / "resources", scratch_ / "resources", fs::copy_options::recursive);
    server_ = std::make_unique<PrivateXServer>((scratch_ / "xvfb.log").string());
    if (!server_->ready()) ADD_FAILURE() << "the private Xvfb did not start";
}

ViewerDriver::~ViewerDriver() {
    viewer_.reset();
    server_.reset();
    std::error_code ignored;
    if (!scratch_.empty()) fs::remove_all(scratch_, ignored);
}

::testing::AssertionResult ViewerDriver::launch(const ViewerLaunch& how) {
    if (!server_ || !server_->ready()) return ::testing::AssertionFailure() << "no X server";
    ChildOptions options;
    options.arguments = how.wrapper;
    options.arguments.push_back(how.program);
    options.arguments.insert(options.arguments.end(), how.arguments.begin(), how.arguments.end());
    options.workingDirectory = (how.workingDirectory.empty() ? scratch_ : how.workingDirectory).string();
    options.environment = how.environment;
    options.environment.push_back("DISPLAY=" + server_->name());
    options.standardErrorPath = (scratch_ / "stderr.txt").string();
    viewer_ = std::make_unique<ChildProcess>(options);
    wineMenus_ = how.wineMenus;

    auto deadline = std::chrono::steady_clock::now() + how.startTimeout;
    while (!findWindow(how.title)) {
        if (!viewer_->running()) {
            return ::testing::AssertionFailure() << "the viewer ended before showing its window, status "
                                                 << viewer_->waitForExit(std::chrono::milliseconds(0)).value_or(-1)
                                                 << "; standard error:\n" << standardError();
        }
        if (std::chrono::steady_clock::now() > deadline) {
            return ::testing::AssertionFailure() << "no viewable window \"" << how.title << "\" within "
                                                 << how.startTimeout.count() << " s";
        }
        pause(kPollInterval);
    }
    // The first frame comes after the shaders are compiled; until then the
    // client area shows whatever the X server and the toolkit left there.
    while (!isViewerBackground(captureClient().at(2, 2))) {
        if (std::chrono::steady_clock::now() > deadline) {
            return ::testing::AssertionFailure() << "the viewer drew no frame with its grey background within "
                                                 << how.startTimeout.count() << " s";
        }
        pause(kPollInterval);
    }
    // A viewer under valgrind takes seconds a frame.
    if (stillClient(how.startTimeout).empty()) {
        return ::testing::AssertionFailure() << "the first frames never settled";
    }
    focus();
    moveMouse(client_.width / 2, client_.height / 2);
    return ::testing::AssertionSuccess();
}

// The top-level window is the client area with the menu bar above it; the
// client area is its largest child. The viewer shows the window before it
// attaches the menu bar, so the window counts as found only once it has one.
bool ViewerDriver::findWindow(const std::string& title) {
    Display* display = server_->display();
    for (Window candidate : childrenOf(display, DefaultRootWindow(display))) {
        if (windowName(display, candidate) != title || !isViewable(display, candidate)) continue;
        Window largest = 0;
        int largestArea = 0;
        for (Window child : childrenOf(display, candidate)) {
            Rect area = rootRectOf(display, child);
            if (area.width * area.height > largestArea) {
                largest = child;
                largestArea = area.width * area.height;
            }
        }
        // Until the menu bar is attached the client area fills the window.
        if (!largest || rootRectOf(display, largest).height >= rootRectOf(display, candidate).height) return false;
        topWindow_ = candidate;
        clientWindow_ = largest;
        window_ = rootRectOf(display, candidate);
        client_ = rootRectOf(display, largest);
        int errorBase = 0;
        if (XDamageQueryExtension(display, &damageEventBase_, &errorBase)) {
            damage_ = XDamageCreate(display, clientWindow_, XDamageReportNonEmpty);
        }
        return true;
    }
    return false;
}

std::string ViewerDriver::windowClassInstance() const {
    XClassHint hint = {};
    if (!XGetClassHint(server_->display(), topWindow_, &hint)) return {};
    std::string name = hint.res_name ? hint.res_name : "";
    if (hint.res_name) XFree(hint.res_name);
    if (hint.res_class) XFree(hint.res_class);
    return name;
}

std::string ViewerDriver::title() const { return windowName(server_->display(), topWindow_); }

bool ViewerDriver::waitForTitle(const std::string& start, bool exact, std::chrono::milliseconds timeout) const {
    using Clock = std::chrono::steady_clock;
    for (const auto deadline = Clock::now() + timeout; Clock::now() < deadline;) {
        const std::string now = title();
        if (exact ? now == start : now.rfind(start, 0) == 0) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

std::string ViewerDriver::standardError() const {
    std::ifstream file(scratch_ / "stderr.txt");
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// There is no window manager on the private server: the focus is given
// directly, as a window manager would on a click.
void ViewerDriver::focus() {
    XSetInputFocus(server_->display(), topWindow_, RevertToParent, CurrentTime);
    sync();
}

void ViewerDriver::takeFocusAway() {
    XSetInputFocus(server_->display(), None, RevertToNone, CurrentTime);
    sync();
}

// XSync, not XFlush: the server has taken every event before the test
// goes on to look at the screen.
void ViewerDriver::sync() { XSync(server_->display(), False); }

void ViewerDriver::moveRoot(int rootX, int rootY) {
    XTestFakeMotionEvent(server_->display(), DefaultScreen(server_->display()), rootX, rootY, CurrentTime);
    sync();
}

void ViewerDriver::moveMouse(int x, int y) { moveRoot(client_.x + x, client_.y + y); }

void ViewerDriver::setLeftButton(bool down) {
    XTestFakeButtonEvent(server_->display(), Button1, down ? True : False, CurrentTime);
    sync();
}

// The toolkit merges pointer moves that arrive together and drops a pending
// move when a button event follows it in the same batch. Merged moves keep
// the drag's total (each step is measured from the last move seen), but a
// dropped move before the press or the release would not, so the viewer
// presents a few frames, taking in the move, before each button change.
void ViewerDriver::drag(int fromX, int fromY, int toX, int toY, int steps) {
    moveMouse(fromX, fromY);
    waitForFrames(kFramesBeforeButton, kStartTimeout);
    setLeftButton(true);
    for (int step = 1; step <= steps; ++step) {
        pause(kDragStepGap);
        moveMouse(fromX + (toX - fromX) * step / steps, fromY + (toY - fromY) * step / steps);
    }
    waitForFrames(kFramesBeforeButton, kStartTimeout);
    setLeftButton(false);
}

void ViewerDriver::turnWheel(int notches) {
    unsigned int button = notches > 0 ? Button4 : Button5;
    for (int i = 0; i < std::abs(notches); ++i) {
        XTestFakeButtonEvent(server_->display(), button, True, CurrentTime);
        XTestFakeButtonEvent(server_->display(), button, False, CurrentTime);
        sync();
        pause(kTapGap);
    }
}

void ViewerDriver::requestClose() {
    sendCloseRequest(server_->display(), topWindow_);
    sync();
}

// From the root window: what the screen shows there, whichever window drew
// it, popups included.
Image ViewerDriver::captureRoot(const Rect& area) {
    Display* display = server_->display();
    XImage* shot = XGetImage(display, DefaultRootWindow(display), area.x, area.y, area.width, area.height,
                             AllPlanes, ZPixmap);
    if (!shot) return {};
    Image image(area.width, area.height);
    for (int y = 0; y < area.height; ++y) {
        for (int x = 0; x < area.width; ++x) {
            unsigned long pixel = XGetPixel(shot, x, y);
            image.set(x, y, {static_cast<uint8_t>((pixel & shot->red_mask) >> 16),
                             static_cast<uint8_t>((pixel & shot->green_mask) >> 8),
                             static_cast<uint8_t>(pixel & shot->blue_mask)});
        }
    }
    XDestroyImage(shot);
    return image;
}

Image ViewerDriver::captureClient() { return captureRoot(client_); }

Image ViewerDriver::captureWindow() { return captureRoot(window_); }

// GLUT's 8 x 13 font drawn from (10, 10) of a 500 x 500 overlay: at most
// "FPS: 1234.5", eleven characters, near the lower-left corner.
Rect ViewerDriver::frameRateCorner(int clientHeight) {
    return {0, clientHeight - 32, 120, 32};
}

// With "report non-empty" the server sends one notice when the damage goes
// from empty to not empty; subtracting it re-arms the notice, so each
// notice stands for at least one new frame.
int ViewerDriver::framesPresented() {
    Display* display = server_->display();
    while (XPending(display)) {
        XEvent event;
        XNextEvent(display, &event);
        if (damage_ && event.type == damageEventBase_ + XDamageNotify) {
            XDamageSubtract(display, damage_, 0, 0);
            ++frames_;
        }
    }
    return frames_;
}

bool ViewerDriver::waitForFrames(int count, std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    int target = framesPresented() + count;
    while (framesPresented() < target) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        XSync(server_->display(), False);
        pause(std::chrono::milliseconds(1));
    }
    return true;
}

std::optional<ViewerDriver::Settling> ViewerDriver::settle(std::chrono::steady_clock::time_point since,
                                                          int quietFrames, std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    std::vector<Rect> ignored = {frameRateCorner(client_.height)};
    const int start = framesPresented();
    Settling last = {0, std::chrono::milliseconds(0)};
    Image previous = captureClient();
    for (int frames = 0; frames - last.frames < quietFrames;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (!waitForFrames(1, left)) return std::nullopt;
        frames = framesPresented() - start;
        Image current = captureClient();
        if (compareImages(current, previous, ignored, 0).differingPixels != 0) {
            last = {frames, std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - since)};
        }
        previous = std::move(current);
    }
    return last;
}

std::optional<int> ViewerDriver::framesUntilExit(std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    const int start = framesPresented();
    while (viewer_ && viewer_->running()) {
        if (std::chrono::steady_clock::now() > deadline) return std::nullopt;
        XSync(server_->display(), False);
        pause(std::chrono::milliseconds(1));
        framesPresented();
    }
    XSync(server_->display(), False);
    return framesPresented() - start;
}

Image ViewerDriver::stillClient(std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    std::vector<Rect> ignored = {frameRateCorner(client_.height)};
    Image previous = captureClient();
    while (std::chrono::steady_clock::now() < deadline) {
        pause(kStillInterval);
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (!waitForFrames(kStillFrames, left)) break;
        Image current = captureClient();
        if (compareImages(current, previous, ignored, 0).differingPixels == 0) return current;
        previous = current;
    }
    return {};
}

bool ViewerDriver::running() { return viewer_ && viewer_->running(); }

int ViewerDriver::processId() const { return viewer_ ? viewer_->pid() : -1; }

std::string ViewerDriver::displayName() const { return server_ ? server_->name() : std::string(); }

std::optional<int> ViewerDriver::waitForExit(std::chrono::milliseconds timeout) {
    if (!viewer_) return std::nullopt;
    return viewer_->waitForExit(timeout);
}
