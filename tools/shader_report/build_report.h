// What the build of one shader program says to the shader's author: for
// each file whether it could be read and compiled, the driver's messages at
// their places in the source, and whether the program links.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "shaders/shader_build.h"
#include "tools/shader_report/scene_inputs.h"
#include "tools/shader_report/source_diagnostic.h"

struct FileReport {
    std::string path;    // as shown to the author
    std::string source;  // the text the driver was given; what line numbers point into
    bool read = false;   // false: missing, unreadable, empty, or no text before a NUL
    bool byteOrderMark = false;  // the text starts with one, which GLSL does not allow
    bool compiled = false;
    std::vector<SourceDiagnostic> diagnostics;

    bool failed() const { return !read || !compiled; }
};

struct ProgramReport {
    std::string name;  // "toon program", "edge program", or "program" for a pair given by hand
    FileReport vertex;
    FileReport fragment;
    bool linked = false;
    std::vector<SourceDiagnostic> linkDiagnostics;

    bool failed() const { return vertex.failed() || fragment.failed() || !linked; }
    int count(const std::string& severity) const;
};

// `folder` is put before each path shown; empty for none. A file that gave
// the driver no text gets one plain line saying why, from what `inputs` found
// when the build read it, and the driver's and the linker's noise about the
// missing text is left out; so is the link log of a program whose file did
// not compile.
ProgramReport reportBuild(const ShaderBuild& build, const std::string& name, const std::string& folder,
                          const SceneInputs& inputs);

// Puts `diagnostic` right after the one at `index`, before any notes that
// continue that one: the cause is read before the noise.
void addAfter(FileReport& file, size_t index, const SourceDiagnostic& diagnostic);

// Puts `diagnostic` where the author reads it with what it explains: right
// after the file's first error, or, in a file without errors, among its
// diagnostics in the order of their lines.
void addExplanation(FileReport& file, const SourceDiagnostic& diagnostic);

// One line per file and program with each diagnostic under the line it
// belongs to; `showSources` adds each file's text with line numbers.
void printProgramReport(std::ostream& out, const ProgramReport& program, bool showSources);

// The diagnostics alone, without the lines that say whether each file
// compiles and the program links.
void printProgramDiagnostics(std::ostream& out, const ProgramReport& program);

// Deletes the program and the shaders of a build that is not kept.
void deleteBuiltObjects(const ShaderBuild& build);
