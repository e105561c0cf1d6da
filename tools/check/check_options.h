// The command line of verrine-check.
#pragma once

#include <string>

#include "tools/common/command_line.h"

struct CheckOptions {
    std::string folder;        // DIR: where resources/shaders is; empty for the working directory
    ShaderPair pair;
    bool showSources = false;  // --verbose
    bool strict = false;       // warnings fail the check
    bool reference = true;     // the reference compiler's second opinion
    bool watch = false;
};

extern const ToolDescription kCheckTool;

// Fills `options` from the arguments after the program name. On a mistake,
// returns false with one line saying what is wrong in `problem`.
bool parseCheckOptions(int count, const char* const* arguments, CheckOptions& options,
                       std::string& problem);
