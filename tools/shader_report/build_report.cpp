#include "tools/shader_report/build_report.h"

#include <filesystem>
#include <iomanip>
#include <sstream>

#include "tools/shader_report/driver_log.h"
#include "tools/shader_report/scene_inputs.h"

namespace {

namespace fs = std::filesystem;

const char kByteOrderMark[] = "\xEF\xBB\xBF";

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
    // The driver's account of a text cut short at a NUL blames whatever it
    // met last ("unexpected DO"); the plain cause replaces it.
    int line = 0;
    int column = 0;
    if (findNulStop(stage.path, stage.source, line, column)) {
        file.diagnostics.push_back({file.path, line, column, stage.compiled ? "warning" : "error",
                                    "a NUL byte here, and the driver reads the text only up to it"});
        if (!stage.compiled) return file;
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
    const std::vector<SourceDiagnostic> driverMessages = located(parseDriverLog(stage.log), file.path, file.source);
    file.diagnostics.insert(file.diagnostics.end(), driverMessages.begin(), driverMessages.end());
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
