#include "tools/shader_report/build_report.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <sstream>

#include "shaders/diagnostic.h"
#include "tools/shader_report/driver_log.h"

namespace {

namespace fs = std::filesystem;

const char kByteOrderMark[] = "\xEF\xBB\xBF";

// Why the driver was given no text: the viewer reads a missing, unreadable or
// empty file, and a file that starts with a NUL, all as the empty text.
std::string whyNothingRead(const std::string& path) {
    std::error_code error;
    const fs::file_status status = fs::status(fs::u8path(path), error);
    if (error) return "cannot read the file: " + error.message();
    if (fs::is_directory(status)) return "cannot read the file: it is a folder";
    if (!fs::is_regular_file(status)) return "cannot read the file: it is not a regular file";
    std::ifstream file(fs::u8path(path), std::ios::binary);
    if (!file) return "cannot read the file: " + std::string(std::strerror(errno));
    if (file.get() == std::char_traits<char>::eof()) return "the file is empty";
    return "the file starts with a NUL byte, and the driver reads the text only up to it";
}

// Only Mesa's messages carry columns, counted in its preprocessor's output.
std::vector<SourceDiagnostic> located(const std::vector<LogMessage>& messages, const std::string& where,
                                      const std::string& source) {
    std::vector<SourceDiagnostic> diagnostics;
    for (const LogMessage& message : messages) {
        int column = message.column;
        std::string line;
        if (column > 0 && findSourceLine(source, message.line, line)) column = sourceColumn(line, column);
        diagnostics.push_back({where, message.line, column, message.severity, message.text});
    }
    return diagnostics;
}

FileReport reportStage(const ShaderStageBuild& stage, const std::string& folder) {
    FileReport file;
    file.path = folder.empty() ? stage.path : (fs::u8path(folder) / fs::u8path(stage.path)).u8string();
    file.source = stage.source;
    file.read = !stage.source.empty();
    file.compiled = stage.compiled;
    if (!file.read) {
        file.diagnostics.push_back({file.path, 0, 0, "error", whyNothingRead(stage.path)});
        return file;
    }
    // Drivers read a byte-order mark as stray characters on the first line
    // and blame whatever comes next ("#version must appear on the first
    // line"); the plain cause replaces their report.
    file.byteOrderMark = stage.source.rfind(kByteOrderMark, 0) == 0;
    if (file.byteOrderMark) {
        const std::string text = "the file starts with a UTF-8 byte-order mark, which GLSL does not allow";
        file.diagnostics.push_back({file.path, 1, 1, stage.compiled ? "warning" : "error",
                                    text + (stage.compiled ? " and other drivers may reject" : "") +
                                        "; save the file without it"});
        return file;
    }
    file.diagnostics = located(parseDriverLog(stage.log), file.path, file.source);
    if (stage.shader == 0) {
        file.diagnostics.push_back({file.path, 0, 0, "error", "the driver could not create a shader object"});
    }
    return file;
}

void printNumbered(std::ostream& out, const std::string& text) {
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        out << std::setw(8) << number << "  " << line << '\n';
    }
}

void printFile(std::ostream& out, const FileReport& file, bool showSources) {
    if (file.read) {
        out << file.path << ": " << (file.compiled ? "compiles" : "does not compile") << '\n';
        if (showSources) printNumbered(out, file.source);
    }
    for (const SourceDiagnostic& diagnostic : file.diagnostics) printDiagnostic(out, diagnostic, file.source);
}

}  // namespace

std::vector<ShaderBuild> recordBuilds(const std::function<void()>& build) {
    std::vector<ShaderBuild> builds;
    recordShaderBuilds(&builds);
    const DiagnosticSink previous = setDiagnosticSink([](const std::string&, const std::string&) {});
    build();
    setDiagnosticSink(previous);
    recordShaderBuilds(nullptr);
    return builds;
}

int ProgramReport::count(const std::string& severity) const {
    int total = 0;
    for (const auto* list : {&vertex.diagnostics, &fragment.diagnostics, &linkDiagnostics}) {
        for (const SourceDiagnostic& diagnostic : *list) total += diagnostic.severity == severity;
    }
    return total;
}

ProgramReport reportBuild(const ShaderBuild& build, const std::string& name, const std::string& folder) {
    ProgramReport program;
    program.name = name;
    program.vertex = reportStage(build.vertex, folder);
    program.fragment = reportStage(build.fragment, folder);
    program.linked = build.linked;
    if (!program.vertex.failed() && !program.fragment.failed()) {
        program.linkDiagnostics = located(parseDriverLog(build.linkLog), name, "");
    }
    return program;
}

void printProgramReport(std::ostream& out, const ProgramReport& program, bool showSources) {
    printFile(out, program.vertex, showSources);
    printFile(out, program.fragment, showSources);
    out << program.name << " (" << program.vertex.path << ", " << program.fragment.path
        << "): " << (program.linked ? "links" : "does not link") << '\n';
    for (const SourceDiagnostic& diagnostic : program.linkDiagnostics) printDiagnostic(out, diagnostic, "");
}
