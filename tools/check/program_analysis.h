// What both tools say about a built program beyond the driver's log: the
// inputs the viewer never feeds, the reference compiler's second opinion,
// the GLSL the shader was written for and the traps it fell into.
#pragma once

#include <memory>
#include <string>

#include "shaders/shader_build.h"
#include "tools/check/reference_compiler.h"
#include "tools/shader_report/build_report.h"

class ProgramAnalysis {
public:
    // Needs a current context. With `reference`, glslang gives its opinion.
    explicit ProgramAnalysis(bool reference);

    // Adds the warnings and notes to the report on `build`, whose program
    // object must still exist.
    void addTo(const ShaderBuild& build, ProgramReport& report) const;

private:
    std::unique_ptr<ReferenceCompiler> reference_;
    std::string driver_;
};
