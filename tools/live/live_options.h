// The command line of verrine-live.
#pragma once

#include <string>

#include "tools/common/command_line.h"

struct LiveOptions {
    std::string resources;    // --resources DIR: the data folder itself; empty to look for it
    ShaderPair pair;          // the toon program's files, instead of the data folder's
    bool reference = true;    // the reference compiler's second opinion in each report
};

extern const ToolDescription kLiveTool;

// Fills `options` from the arguments after the program name. On a mistake,
// returns false with one line saying what is wrong in `problem`.
bool parseLiveOptions(int count, const char* const* arguments, LiveOptions& options, std::string& problem);
