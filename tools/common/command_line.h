// What the tools' command lines have in common: --help, --version, the usage
// shown after a mistake, and the pair of shader files both take.
#pragma once

#include <ostream>
#include <string>

struct ToolDescription {
    std::string name;   // "verrine-check"
    std::string usage;  // the usage lines, each ending in a line feed
    std::string help;   // what follows the usage under --help
};

// When the arguments after the program name hold --help (or -h) or
// --version, prints the usage and help, or the version line, to `out` and
// returns true: the tool then exits 0 and does nothing else.
bool answeredHelpOrVersion(const ToolDescription& tool, int count, const char* const* arguments,
                           std::ostream& out);

// "verrine-check 0.1", followed by " (commit 5d6f7ad)" when built from a git
// checkout.
std::string versionLine(const std::string& name);

// Says what is wrong and shows the usage, on standard error; returns 2, the
// status of a bad command line.
int usageError(const ToolDescription& tool, const std::string& problem);

// A vertex and a fragment file given by hand instead of the viewer's programs.
struct ShaderPair {
    std::string vertexPath;
    std::string fragmentPath;

    bool given() const { return !vertexPath.empty(); }
    // Empty, or what is wrong: one file without the other.
    std::string problem() const;
};

// When arguments[i] is --vertex or --fragment, takes the file after it into
// `pair`, moving i past it, and returns true; `problem` is set when no file
// follows.
bool takeShaderPairOption(int count, const char* const* arguments, int& i, ShaderPair& pair,
                          std::string& problem);
