#include "tools/check/shader_check.h"

#include "shaders/shader_set.h"
#include "tools/shader_report/build_report.h"
#include "tools/shader_report/scene_inputs.h"

namespace {

std::string programName(ShaderMode mode, bool pairGiven) {
    return pairGiven ? "program" : shaderModeName(mode) + " program";
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

ShaderCheck::ShaderCheck(const CheckOptions& options) : options_(options), analysis_(options.reference) {}

bool ShaderCheck::run(std::ostream& out) {
    std::vector<ShaderBuild> builds;
    const ShaderBuildObserver record = [&builds](const ShaderBuild& build) { builds.push_back(build); };
    const std::string folder = options_.pair.given() ? "" : options_.folder;
    SceneInputs inputs(folder);
    inputs.read([&] {
        if (options_.pair.given()) {
            const ShaderProgram pair(kToonMode, options_.pair.vertexPath, options_.pair.fragmentPath, record,
                                     &inputs);
        } else {
            ShaderSet().loadPrograms(kResourcesFolder, record, &inputs);
        }
    });

    files_.clear();
    size_t failed = 0;
    int warnings = 0;
    for (const ShaderBuild& build : builds) {
        ProgramReport report = reportBuild(build, programName(build.mode, options_.pair.given()), folder, inputs);
        analysis_.addTo(build, report);
        printProgramReport(out, report, options_.showSources);
        const int programWarnings = report.count("warning");
        warnings += programWarnings;
        if (report.failed() || (options_.strict && programWarnings > 0)) ++failed;
        files_.push_back(build.vertex.path);
        files_.push_back(build.fragment.path);
        deleteBuiltObjects(build);
    }
    printSummary(out, builds.size(), failed, warnings, options_.strict);
    out.flush();
    return failed == 0;
}
