#include "tools/check/shader_check.h"

#include <filesystem>
#include <iomanip>
#include <sstream>
#include <utility>

#include "app/render_options.h"
#include "shaders/diagnostic.h"
#include "shaders/shader_set.h"

namespace {

// The captions of the two traces that reading a source file makes.
const char kPathCaption[] = "File import path";
const char kTextCaption[] = "Shader text";

struct Diagnostic {
    std::string caption;
    std::string text;
};

std::vector<Diagnostic>& recorded() {
    static std::vector<Diagnostic> diagnostics;
    return diagnostics;
}

void record(const std::string& caption, const std::string& text) {
    recorded().push_back({caption, text});
}

// Every path trace opens a file; its text trace and the failure reports that
// follow belong to it. A report made before any file is read (a shader object
// that could not be created) goes with the first file.
std::vector<CheckedFile> sortIntoFiles(const std::vector<Diagnostic>& diagnostics) {
    std::vector<CheckedFile> files;
    std::vector<std::string> early;
    for (const Diagnostic& entry : diagnostics) {
        if (entry.caption == kPathCaption) {
            files.push_back({entry.text, "", std::move(early)});
            early.clear();
        } else if (files.empty()) {
            early.push_back(entry.text);
        } else if (entry.caption == kTextCaption) {
            files.back().source = entry.text;
        } else {
            files.back().reports.push_back(entry.text);
        }
    }
    return files;
}

bool linkSucceeded(GLuint program) {
    GLint status = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &status);
    return status != 0;
}

std::string modeName(ShaderMode mode) {
    if (mode == kToonMode) return "toon";
    if (mode == kEdgeMode) return "edge";
    return "mode " + std::to_string(mode);
}

std::string shownPath(const CheckReportStyle& style, const std::string& path) {
    if (style.folder.empty()) return path;
    return (std::filesystem::path(style.folder) / path).string();
}

void printIndented(std::ostream& out, const std::string& text) {
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) out << "    " << line << '\n';
}

void printNumbered(std::ostream& out, const std::string& text) {
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        out << std::setw(8) << number << "  " << line << '\n';
    }
}

void printFile(std::ostream& out, const CheckedFile& file, const CheckReportStyle& style) {
    out << shownPath(style, file.path) << ": ";
    if (file.source.empty()) {
        out << "nothing read (missing, unreadable or empty file)\n";
    } else {
        out << (file.reports.empty() ? "compiles" : "does not compile") << '\n';
    }
    if (style.showSources) printNumbered(out, file.source);
    for (const std::string& report : file.reports) printIndented(out, report);
}

}  // namespace

std::vector<CheckedProgram> checkShaderPrograms() {
    // The traces are what tell which file each report belongs to.
    options->shaderDebug = true;
    recorded().clear();
    DiagnosticSink previous = setDiagnosticSink(record);
    ShaderSet shaderSet;
    shaderSet.loadPrograms();
    setDiagnosticSink(previous);

    // Each program reads its vertex file, then its fragment file, in the
    // order of the set's entries.
    std::vector<CheckedFile> files = sortIntoFiles(recorded());
    std::vector<CheckedProgram> programs;
    size_t nextFile = 0;
    for (const ShaderProgram& entry : shaderSet.programs) {
        if (entry.mode == kFixedPipelineMode) continue;
        CheckedProgram checked;
        checked.name = modeName(entry.mode);
        checked.vertex = files.at(nextFile++);
        checked.fragment = files.at(nextFile++);
        checked.linked = linkSucceeded(entry.program);
        // A failed link is the last thing the build of a program reports.
        std::vector<std::string>& tail = checked.fragment.reports;
        if (!checked.linked && !tail.empty()) {
            checked.linkReports.push_back(tail.back());
            tail.pop_back();
        }
        programs.push_back(checked);
    }
    return programs;
}

bool printCheck(std::ostream& out, const std::vector<CheckedProgram>& programs,
                const CheckReportStyle& style) {
    size_t failed = 0;
    for (const CheckedProgram& program : programs) {
        printFile(out, program.vertex, style);
        printFile(out, program.fragment, style);
        out << program.name << " program (" << shownPath(style, program.vertex.path) << ", "
            << shownPath(style, program.fragment.path)
            << "): " << (program.linked ? "links" : "does not link") << '\n';
        for (const std::string& report : program.linkReports) printIndented(out, report);
        if (!program.passed()) ++failed;
    }
    if (failed == 0) {
        out << "verrine-check: all " << programs.size() << " programs compile and link\n";
    } else {
        out << "verrine-check: " << failed << " of " << programs.size() << " programs failed\n";
    }
    return failed == 0;
}
