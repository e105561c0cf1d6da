#include "tools/check/program_analysis.h"

#include "platform/gl.h"
#include "tools/check/second_opinion.h"
#include "tools/check/unfed_inputs.h"
#include "tools/shader_report/dialect.h"
#include "tools/shader_report/shader_traps.h"

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

}  // namespace

ProgramAnalysis::ProgramAnalysis(bool reference) : driver_(describeDriver()) {
    if (reference) reference_ = std::make_unique<ReferenceCompiler>();
}

void ProgramAnalysis::addTo(const ShaderBuild& build, ProgramReport& report) const {
    if (build.linked) addUnfedInputWarnings(build.program, report);
    if (reference_) {
        addSecondOpinion(*reference_, driver_, report.vertex, false);
        addSecondOpinion(*reference_, driver_, report.fragment, true);
    }
    // After the unfed inputs, which show the tutorial style.
    addDialectNotes(report);
    addTrapNotes(report);
}
