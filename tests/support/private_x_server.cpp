#include "tests/support/private_x_server.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

#include <X11/Xlib.h>

namespace {

constexpr int kStartTimeoutMs = 10000;

// Xvfb writes the display number it chose, then a newline, once it accepts
// connections.
std::string readDisplayNumber(int descriptor) {
    std::string number;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartTimeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd waiting = {descriptor, POLLIN, 0};
        if (poll(&waiting, 1, 100) <= 0) continue;
        char c = 0;
        if (read(descriptor, &c, 1) != 1) break;
        if (c == '\n') return number;
        number += c;
    }
    return {};
}

// Xlib's default handler ends the process on any error, which would hide
// the test's own report. A window that vanishes between two requests (a
// popup closing while the driver looks for it) is an ordinary event here.
int reportXError(Display* display, XErrorEvent* error) {
    if (error->error_code == BadWindow) return 0;
    char text[256] = {};
    XGetErrorText(display, error->error_code, text, sizeof text);
    std::fprintf(stderr, "X error ignored: %s (request %d)\n", text, error->request_code);
    return 0;
}

}  // namespace

PrivateXServer::PrivateXServer(const std::string& logPath) {
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) return;
    ChildOptions options;
    options.arguments = {"/usr/bin/Xvfb", "-displayfd", std::to_string(pipeEnds[1]), "-screen", "0",
                         "1280x1024x24", "-nolisten", "tcp"};
    options.standardOutputPath = logPath;
    options.standardErrorPath = logPath;
    options.inheritedDescriptor = pipeEnds[1];
    server_ = std::make_unique<ChildProcess>(options);
    close(pipeEnds[1]);
    std::string number = server_->started() ? readDisplayNumber(pipeEnds[0]) : std::string();
    close(pipeEnds[0]);
    if (number.empty()) return;
    name_ = ":" + number;
    XSetErrorHandler(reportXError);
    display_ = XOpenDisplay(name_.c_str());
}

PrivateXServer::~PrivateXServer() {
    if (display_) XCloseDisplay(display_);
    // server_ stops Xvfb as it goes.
}
