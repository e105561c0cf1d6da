// Running the built programs as a user would, in a working directory of the
// test's choice, with their standard output and error captured.
#pragma once

#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/child_process.h"

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

struct ProcessResult {
    int status = -1;  // the exit status; -1 when still running after a minute
    std::string out;
    std::string err;
};

// Output goes to files while the program runs, so `options` names them.
inline ProcessResult finish(ChildProcess& child, const ScratchFolder& output) {
    ProcessResult result;
    result.status = child.waitForExit(std::chrono::minutes(1)).value_or(-1);
    result.out = readWholeFile(output.path() / "out");
    result.err = readWholeFile(output.path() / "err");
    return result;
}

inline ChildOptions capturedInto(const ScratchFolder& output, const std::vector<std::string>& arguments,
                                 const std::string& workingDirectory = "") {
    ChildOptions options;
    options.arguments = arguments;
    options.workingDirectory = workingDirectory;
    options.standardOutputPath = output / "out";
    options.standardErrorPath = output / "err";
    return options;
}

// Runs the program to its end. The environment is the test's own, with
// `environment` (NAME=VALUE) added.
inline ProcessResult runProgram(const std::vector<std::string>& arguments,
                                const std::string& workingDirectory = "",
                                const std::vector<std::string>& environment = {}) {
    ScratchFolder output;
    ChildOptions options = capturedInto(output, arguments, workingDirectory);
    options.environment = environment;
    ChildProcess child(options);
    return finish(child, output);
}

inline int countOccurrences(const std::string& text, const std::string& piece) {
    int count = 0;
    for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) {
        ++count;
    }
    return count;
}
