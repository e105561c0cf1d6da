// What building a shader program found out, kept for the tools that report
// on shaders (verrine-check, verrine-shot). The viewer records nothing: it
// only reports compile and link failures through writeDiagnostic.
#pragma once

#include <functional>
#include <string>

#include "platform/gl.h"
#include "shaders/shader_mode.h"

struct ShaderStageBuild {
    std::string path;    // as given to the program, relative to the working directory
    std::string source;  // the text handed to the driver (up to its first NUL)
    GLuint shader = 0;   // 0 when no shader object could be created
    bool compiled = false;
    std::string log;     // the driver's info log, kept whether or not the compile failed
};

struct ShaderBuild {
    ShaderMode mode = kFixedPipelineMode;
    ShaderStageBuild vertex;
    ShaderStageBuild fragment;
    GLuint program = 0;
    bool linked = false;
    std::string linkLog;  // kept whether or not the link failed
};

// Told about each program a ShaderProgram builds, once it is linked. An
// observed build reports to its observer alone: it writes no diagnostic, not
// even the source traces. Observing costs the two info-log queries that a
// successful build otherwise skips, and changes no OpenGL call.
using ShaderBuildObserver = std::function<void(const ShaderBuild&)>;
