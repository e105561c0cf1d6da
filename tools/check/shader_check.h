// Builds the viewer's shader programs and sorts what the build reported by the
// file or the program it belongs to.
#pragma once

#include <ostream>
#include <string>
#include <vector>

struct CheckedFile {
    std::string path;                  // as the viewer reads it, relative to the working directory
    std::string source;                // the text handed to the driver
    std::vector<std::string> reports;  // compile failure reports for this file

    // An empty text means a missing, unreadable or empty file: no stage
    // without a main can link, so it counts as a failure even if the driver
    // accepts it.
    bool passed() const { return reports.empty() && !source.empty(); }
};

struct CheckedProgram {
    std::string name;  // "toon" or "edge"
    CheckedFile vertex;
    CheckedFile fragment;
    bool linked = false;
    std::vector<std::string> linkReports;

    bool passed() const { return vertex.passed() && fragment.passed() && linked; }
};

// Builds the programs with the viewer's own ShaderSet, reading the sources
// relative to the working directory. Needs a current context of OpenGL 2.0
// or later.
std::vector<CheckedProgram> checkShaderPrograms();

struct CheckReportStyle {
    std::string folder;        // put before every path shown; empty for none
    bool showSources = false;  // each file's text, with line numbers
};

// Writes one line per file and per program, each failure report indented
// under the line it belongs to, and a last summary line. Returns whether every
// program passed.
bool printCheck(std::ostream& out, const std::vector<CheckedProgram>& programs,
                const CheckReportStyle& style);
