#include "tools/check/shader_check.h"

#include "shaders/shader_set.h"
#include "tools/check/unfed_inputs.h"
#include "tools/shader_report/build_report.h"
#include "tools/shader_report/scene_inputs.h"

namespace {

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string glText(GLenum name) {
    const GLubyte* text = glGetString(name);
    return text ? reinterpret_cast<const char*>(text) : "";
}

// "4.5 (Compatibility Profile) Mesa 22.3.6", "4.6.0 NVIDIA 535.54.03": what
// follows the version number and the profile names the driver.
std::string describeDriver() {
    const std::string version = glText(GL_VERSION);
    const size_t profileEnd = version.find(')');
    const size_t start = profileEnd != std::string::npos ? profileEnd + 1 : version.find(' ');
    std::string name = start == std::string::npos ? "" : trimmed(version.substr(start));
    if (name.empty()) name = glText(GL_RENDERER);
    return "the driver (" + name + ")";
}

std::string programName(ShaderMode mode, bool pairGiven) {
    return pairGiven ? "program" : shaderModeName(mode) + " program";
}

// Says where the driver and the reference compiler disagree on a file.
// Agreement adds nothing.
void addSecondOpinion(const ReferenceCompiler& reference, const std::string& driver, FileReport& file,
                      bool isFragment) {
    if (!file.read || file.byteOrderMark) return;
    const std::vector<LogMessage> errors = reference.errors(file.source, isFragment);
    if (file.compiled) {
        for (const LogMessage& error : errors) {
            file.diagnostics.push_back({file.path, error.line, error.column, "warning",
                                        driver + " accepts this, " + ReferenceCompiler::kName +
                                            " rejects it: " + error.text});
        }
    } else if (errors.empty()) {
        SourceDiagnostic warning{file.path, 0, 0, "warning",
                                 std::string(ReferenceCompiler::kName) + " accepts this file, which " +
                                     driver + " rejects; other drivers may accept it"};
        for (const SourceDiagnostic& diagnostic : file.diagnostics) {
            if (diagnostic.severity != "error" || diagnostic.line == 0) continue;
            warning.line = diagnostic.line;
            warning.column = diagnostic.column;
            break;
        }
        file.diagnostics.push_back(warning);
    }
}

void deleteObjects(const ShaderBuild& build) {
    glDeleteProgram(build.program);
    glDeleteShader(build.vertex.shader);
    glDeleteShader(build.fragment.shader);
}

std::string plural(int count, const std::string& noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

void printSummary(std::ostream& out, size_t programs, size_t failed, int warnings, bool strict) {
    out << "verrine-check: ";
    if (programs == 1) {
        out << (failed == 0 ? "the program compiles and links" : "the program failed");
    } else if (failed == 0) {
        out << "all " << programs << " programs compile and link";
    } else {
        out << failed << " of " << programs << " programs failed";
    }
    if (warnings > 0) out << ", " << plural(warnings, "warning") << (strict ? " (--strict: they fail)" : "");
    out << '\n';
}

}  // namespace

ShaderCheck::ShaderCheck(const CheckOptions& options) : options_(options), driver_(describeDriver()) {
    if (options_.reference) reference_ = std::make_unique<ReferenceCompiler>();
}

bool ShaderCheck::run(std::ostream& out) {
    std::vector<ShaderBuild> builds;
    const ShaderBuildObserver record = [&builds](const ShaderBuild& build) { builds.push_back(build); };
    readSceneInputs([&] {
        if (options_.pair.given()) {
            const ShaderProgram pair(kToonMode, options_.pair.vertexPath, options_.pair.fragmentPath, record);
        } else {
            ShaderSet().loadPrograms(kResourcesFolder, record);
        }
    });

    files_.clear();
    size_t failed = 0;
    int warnings = 0;
    const std::string folder = options_.pair.given() ? "" : options_.folder;
    for (const ShaderBuild& build : builds) {
        ProgramReport report = reportBuild(build, programName(build.mode, options_.pair.given()), folder);
        if (build.linked) addUnfedInputWarnings(build.program, report);
        if (reference_) {
            addSecondOpinion(*reference_, driver_, report.vertex, false);
            addSecondOpinion(*reference_, driver_, report.fragment, true);
        }
        printProgramReport(out, report, options_.showSources);
        const int programWarnings = report.count("warning");
        warnings += programWarnings;
        if (report.failed() || (options_.strict && programWarnings > 0)) ++failed;
        files_.push_back(build.vertex.path);
        files_.push_back(build.fragment.path);
        deleteObjects(build);
    }
    printSummary(out, builds.size(), failed, warnings, options_.strict);
    out.flush();
    return failed == 0;
}
