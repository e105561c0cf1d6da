// Running the built programs as a user would, in a working directory of the
// test's choice, with their standard output and error captured.
#pragma once

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/child_process.h"
#include "tests/support/scratch_folder.h"

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

// Whether the file holds `text` `occurrences` times within the time.
inline bool waitForText(const std::string& path, const std::string& text, int occurrences,
                        std::chrono::milliseconds time = std::chrono::seconds(10)) {
    for (auto deadline = std::chrono::steady_clock::now() + time;
         countOccurrences(readWholeFile(path), text) < occurrences;) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

// `text` with each "@" standing for the scratch folder's path.
inline std::string inFolder(std::string text, const ScratchFolder& folder) {
    for (size_t at = text.find('@'); at != std::string::npos; at = text.find('@', at)) {
        text.replace(at, 1, folder.path().string());
    }
    return text;
}

// A fragment shader with one sum of `terms` terms: drivers compile it by
// recursing once per term.
inline std::string sumShader(int terms) {
    std::string sum = "1.0";
    for (int i = 1; i < terms; ++i) sum += "+1.0";
    return "void main() { gl_FragColor = vec4(" + sum + "); }\n";
}
