// A program started by a test, in a working directory of the test's choice,
// with its output sent to files. The destructor stops it if it still runs,
// and the kernel kills it if the test process dies first, so no test leaves
// a process behind.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

struct ChildOptions {
    std::vector<std::string> arguments;     // the program's path first
    std::string workingDirectory;           // empty: the test's own
    std::vector<std::string> environment;   // NAME=VALUE added to the test's
    std::string standardOutputPath;         // empty: /dev/null
    std::string standardErrorPath;          // empty: /dev/null
    int inheritedDescriptor = -1;           // one descriptor the program keeps open
};

class ChildProcess {
public:
    explicit ChildProcess(const ChildOptions& options);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return pid_ > 0; }
    // For reading the program's /proc entries; -1 if it did not start.
    pid_t pid() const { return pid_; }
    bool running();
    // The exit status once the program has ended by itself within the time,
    // 128 + the signal number if a signal ended it; nothing if it still runs.
    std::optional<int> waitForExit(std::chrono::milliseconds timeout);
    // SIGTERM, then SIGKILL if it has not ended within a second.
    void stop();

private:
    bool reap(int options);

    pid_t pid_ = -1;
    std::optional<int> status_;
};
