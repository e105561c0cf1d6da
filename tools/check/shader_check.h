// One check of the shader programs: build them as the viewer does, add what
// the driver's log cannot say (program_analysis.h), print the report.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "tools/check/check_options.h"
#include "tools/check/program_analysis.h"

class ShaderCheck {
public:
    // Needs a current context of OpenGL 2.0 or later. Sources are read
    // relative to the working directory, as the viewer reads them.
    explicit ShaderCheck(const CheckOptions& options);

    // Builds the programs, prints the report with a closing summary line and
    // deletes what it built, so that it can run again. Returns whether the
    // check passed: everything compiles and links, and under --strict no
    // warning was given.
    bool run(std::ostream& out);

    // The files the last run read, relative to the working directory.
    const std::vector<std::string>& files() const { return files_; }

private:
    CheckOptions options_;
    ProgramAnalysis analysis_;
    std::vector<std::string> files_;
};
