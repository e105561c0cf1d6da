// The command line of verrine-check.
#pragma once

#include <string>

struct CheckOptions {
    std::string folder;        // DIR: where resources/shaders is; empty for the working directory
    std::string vertexPath;    // a pair given by hand instead of the viewer's programs
    std::string fragmentPath;
    bool showSources = false;  // --verbose
    bool strict = false;       // warnings fail the check
    bool reference = true;     // the reference compiler's second opinion
    bool watch = false;

    bool pairGiven() const { return !vertexPath.empty(); }
};

extern const char kCheckUsage[];

// Fills `options` from the arguments after the program name. On a mistake,
// returns false with one line saying what is wrong in `problem`.
bool parseCheckOptions(int count, const char* const* arguments, CheckOptions& options,
                       std::string& problem);
