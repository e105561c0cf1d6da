// Running the built programs as a user would: arguments, working directory
// and environment of their own, standard output and error captured.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

struct ProcessResult {
    int status = -1;  // the exit status; -1 when killed by a signal or a timeout
    std::string out;
    std::string err;
};

struct ProcessSetup {
    std::string workingDirectory;                             // empty: the test's own
    std::vector<std::string> unset;                           // variables removed
    std::vector<std::pair<std::string, std::string>> set;     // variables added or replaced
};

inline ProcessSetup runningIn(const std::string& folder) {
    ProcessSetup setup;
    setup.workingDirectory = folder;
    return setup;
}

// A fresh folder under the system's temporary folder, removed with its content.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "verrine-tools-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~ScratchFolder() { std::filesystem::remove_all(path_); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

inline std::string readWholeFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// A started program. Its output goes to files, not pipes, so that a program
// that writes much never blocks on a test that is not reading yet.
class ChildProcess {
public:
    ChildProcess(const std::vector<std::string>& arguments, const ProcessSetup& setup = {}) {
        const std::string outPath = output_ / "out";
        const std::string errPath = output_ / "err";
        pid_ = fork();
        if (pid_ != 0) return;
        // In the child, until exec: plain descriptors, so that nothing the
        // test had buffered in stdio goes into the captured output.
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0) _exit(127);
        if (!setup.workingDirectory.empty() && chdir(setup.workingDirectory.c_str()) != 0) _exit(127);
        for (const std::string& name : setup.unset) unsetenv(name.c_str());
        for (const auto& [name, value] : setup.set) setenv(name.c_str(), value.c_str(), 1);
        std::vector<char*> argv;
        for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    ~ChildProcess() {
        if (pid_ > 0 && !finished_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Waits for the end; a program still running after the timeout is killed
    // and reported with status -1.
    ProcessResult wait(std::chrono::seconds timeout = std::chrono::seconds(60)) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        int raw = 0;
        while (waitpid(pid_, &raw, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                kill(pid_, SIGKILL);
                waitpid(pid_, &raw, 0);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        finished_ = true;
        ProcessResult result;
        result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        result.out = readWholeFile(output_.path() / "out");
        result.err = readWholeFile(output_.path() / "err");
        return result;
    }

private:
    ScratchFolder output_;
    pid_t pid_ = -1;
    bool finished_ = false;
};

inline ProcessResult runProgram(const std::vector<std::string>& arguments,
                                const ProcessSetup& setup = {}) {
    return ChildProcess(arguments, setup).wait();
}

inline int countOccurrences(const std::string& text, const std::string& piece) {
    int count = 0;
    for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) {
        ++count;
    }
    return count;
}
