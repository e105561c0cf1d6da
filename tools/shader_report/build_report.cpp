#include "tools/shader_report/build_report.h"

#include <algorithm>
#include <filesystem>
#include <iomanip>
#include <sstream>

#include "tools/shader_report/driver_log.h"
#include "tools/shader_report/link_location.h"
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

// Mesa follows an error with lines that only go on with it: the candidates of
// a call that matched none, each an "error:" at the call; other errors at the
// very place of the one before; errors about an operand whose type is already
// `error`. They become notes under the error they continue.
void markFollowOns(std::vector<SourceDiagnostic>& diagnostics) {
    const SourceDiagnostic* previous = nullptr;
    for (SourceDiagnostic& diagnostic : diagnostics) {
        if (diagnostic.severity != "error") continue;
        const std::string& text = diagnostic.message;
        const bool samePlace = previous != nullptr && previous->line == diagnostic.line &&
                               previous->column == diagnostic.column && diagnostic.line > 0;
        // Mesa names such a type in a list of operands: "pow(error, float)".
        const bool onError = previous != nullptr && (text.find("(error") != std::string::npos ||
                                                     text.find(", error,") != std::string::npos ||
                                                     text.find(", error)") != std::string::npos);
        if (samePlace || onError) {
            diagnostic.severity = "note";
            diagnostic.continues = true;
        }
        previous = &diagnostic;
    }
}

FileReport reportStage(const ShaderStageBuild& stage, const std::string& folder, const SceneInputs& inputs) {
    FileReport file;
    file.path = folder.empty() ? stage.path : (fs::u8path(folder) / fs::u8path(stage.path)).u8string();
    file.source = stage.source;
    file.read = !stage.source.empty();
    file.compiled = stage.compiled;
    if (!file.read) {
        file.diagnostics.push_back({file.path, 0, 0, "error", inputs.whyNothingRead(stage.path)});
        return file;
    }
    // The driver's account of a text cut short at a NUL blames whatever it
    // met last ("unexpected DO"); the plain cause replaces it.
    int line = 0;
    int column = 0;
    if (inputs.findNulStop(stage.path, stage.source, line, column)) {
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
    std::vector<SourceDiagnostic> driverMessages = located(parseDriverLog(stage.log), file.path, file.source);
    markFollowOns(driverMessages);
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

// A located link message points into the file it names.
void printLinkDiagnostics(std::ostream& out, const ProgramReport& program) {
    for (const SourceDiagnostic& diagnostic : program.linkDiagnostics) {
        const FileReport* file = diagnostic.where == program.vertex.path     ? &program.vertex
                                 : diagnostic.where == program.fragment.path ? &program.fragment
                                                                              : nullptr;
        printDiagnostic(out, diagnostic, file != nullptr ? file->source : "");
    }
}

}  // namespace

int ProgramReport::count(const std::string& severity) const {
    int total = 0;
    for (const auto* list : {&vertex.diagnostics, &fragment.diagnostics, &linkDiagnostics}) {
        for (const SourceDiagnostic& diagnostic : *list) total += diagnostic.severity == severity;
    }
    return total;
}

ProgramReport reportBuild(const ShaderBuild& build, const std::string& name, const std::string& folder,
                          const SceneInputs& inputs) {
    ProgramReport program;
    program.name = name;
    program.vertex = reportStage(build.vertex, folder, inputs);
    program.fragment = reportStage(build.fragment, folder, inputs);
    program.linked = build.linked;
    if (!program.vertex.failed() && !program.fragment.failed()) {
        program.linkDiagnostics = located(parseDriverLog(build.linkLog), name, "");
        for (SourceDiagnostic& diagnostic : program.linkDiagnostics) locateLinkMessage(program, diagnostic);
    }
    return program;
}

void addAfter(FileReport& file, size_t index, const SourceDiagnostic& diagnostic) {
    file.diagnostics.insert(file.diagnostics.begin() + static_cast<std::ptrdiff_t>(index) + 1, diagnostic);
}

void addExplanation(FileReport& file, const SourceDiagnostic& diagnostic) {
    std::vector<SourceDiagnostic>& list = file.diagnostics;
    for (size_t i = 0; i < list.size(); ++i) {
        if (list[i].severity == "error") return addAfter(file, i, diagnostic);
    }
    auto later = std::find_if(list.begin(), list.end(),
                              [&](const SourceDiagnostic& other) { return other.line > diagnostic.line; });
    list.insert(later, diagnostic);
}

void printProgramReport(std::ostream& out, const ProgramReport& program, bool showSources) {
    printFile(out, program.vertex, showSources);
    printFile(out, program.fragment, showSources);
    out << program.name << " (" << program.vertex.path << ", " << program.fragment.path
        << "): " << (program.linked ? "links" : "does not link") << '\n';
    printLinkDiagnostics(out, program);
}

void printProgramDiagnostics(std::ostream& out, const ProgramReport& program) {
    for (const FileReport* file : {&program.vertex, &program.fragment}) {
        for (const SourceDiagnostic& diagnostic : file->diagnostics) printDiagnostic(out, diagnostic, file->source);
    }
    printLinkDiagnostics(out, program);
}

void deleteBuiltObjects(const ShaderBuild& build) {
    glDeleteProgram(build.program);
    glDeleteShader(build.vertex.shader);
    glDeleteShader(build.fragment.shader);
}
