#include "tests/support/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <thread>

extern char** environ;

namespace {

std::vector<char*> pointersTo(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (std::string& text : strings) pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

// Between fork and exec only async-signal-safe calls are allowed, so every
// string is prepared before the fork and failures end the child with 127.
void redirect(const char* path, int flags, int target) {
    int descriptor = open(path, flags, 0644);
    if (descriptor < 0 || dup2(descriptor, target) < 0) _exit(127);
    close(descriptor);
}

}  // namespace

ChildProcess::ChildProcess(const ChildOptions& options) {
    std::vector<std::string> arguments = options.arguments;
    std::vector<std::string> environment;
    for (char** entry = environ; *entry; ++entry) environment.emplace_back(*entry);
    for (const std::string& added : options.environment) {
        std::string name = added.substr(0, added.find('=') + 1);
        for (std::string& existing : environment) {
            if (existing.compare(0, name.size(), name) == 0) existing.clear();
        }
        environment.push_back(added);
    }
    environment.erase(std::remove(environment.begin(), environment.end(), std::string()), environment.end());
    std::vector<char*> argv = pointersTo(arguments);
    std::vector<char*> envp = pointersTo(environment);
    std::string output = options.standardOutputPath.empty() ? "/dev/null" : options.standardOutputPath;
    std::string error = options.standardErrorPath.empty() ? "/dev/null" : options.standardErrorPath;
    const char* directory = options.workingDirectory.empty() ? nullptr : options.workingDirectory.c_str();
    int kept = options.inheritedDescriptor;

    pid_t parent = getpid();
    pid_ = fork();
    if (pid_ != 0) return;
    // Ended with the test even when the test cannot run its destructors (a
    // crash, a fatal X error, a kill on time-out).
    if (prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || getppid() != parent) _exit(127);
    if (directory && chdir(directory) != 0) _exit(127);
    redirect("/dev/null", O_RDONLY, STDIN_FILENO);
    redirect(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, STDOUT_FILENO);
    redirect(error.c_str(), O_WRONLY | O_CREAT | O_TRUNC, STDERR_FILENO);
    if (kept >= 0) fcntl(kept, F_SETFD, 0);
    execve(argv[0], argv.data(), envp.data());
    _exit(127);
}

ChildProcess::~ChildProcess() { stop(); }

bool ChildProcess::reap(int options) {
    if (pid_ <= 0 || status_) return status_.has_value();
    int status = 0;
    if (waitpid(pid_, &status, options) != pid_) return false;
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return true;
}

bool ChildProcess::running() { return started() && !reap(WNOHANG); }

std::optional<int> ChildProcess::waitForExit(std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (running()) {
        if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return status_;
}

void ChildProcess::stop() {
    if (!running()) return;
    kill(pid_, SIGTERM);
    if (waitForExit(std::chrono::seconds(1))) return;
    kill(pid_, SIGKILL);
    reap(0);
}
