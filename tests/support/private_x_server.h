// An Xvfb of the test's own, so that no two tests share a screen, the input
// focus or the pointer, and a connection to it for input and screenshots.
#pragma once

#include <memory>
#include <string>

#include "tests/support/child_process.h"

struct _XDisplay;

class PrivateXServer {
public:
    // Starts Xvfb on a free display number (1280 x 1024, 24 bits, no TCP)
    // and connects to it; logPath receives the server's own messages.
    explicit PrivateXServer(const std::string& logPath);
    ~PrivateXServer();
    PrivateXServer(const PrivateXServer&) = delete;
    PrivateXServer& operator=(const PrivateXServer&) = delete;

    bool ready() const { return display_ != nullptr; }
    // ":N", for DISPLAY.
    const std::string& name() const { return name_; }
    _XDisplay* display() const { return display_; }

private:
    std::unique_ptr<ChildProcess> server_;
    std::string name_;
    _XDisplay* display_ = nullptr;
};
