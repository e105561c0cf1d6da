// Running verrine-check on the test's files, as a shader author would.
#pragma once

#include <stdlib.h>

#include <string>
#include <vector>

#include "tests/tools/tool_cases.h"
#include "tests/tools/tool_process.h"

// Every run goes without an X display: the check must never need one.
inline ProcessResult check(const std::vector<std::string>& arguments, const std::string& workingDirectory = "",
                           const std::vector<std::string>& environment = {}) {
    unsetenv("DISPLAY");
    std::vector<std::string> command = {VERRINE_CHECK_PATH};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return runProgram(command, workingDirectory, environment);
}

// Checks one pair written for the test.
inline ProcessResult checkPair(const ScratchFolder& folder, const std::string& vertex, const std::string& fragment,
                               std::vector<std::string> options = {}) {
    options.insert(options.end(), {"--vertex", folder.write("pair.vert", vertex), "--fragment",
                                   folder.write("pair.frag", fragment)});
    return check(options);
}

inline bool contains(const std::string& text, const std::string& piece) {
    return text.find(piece) != std::string::npos;
}

