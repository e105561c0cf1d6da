// What building a shader program found out, kept for the tools that report
// on shaders (verrine-check, verrine-shot). The viewer records nothing: it
// only reports compile and link failures through writeDiagnostic.
#pragma once

#include <string>
#include <vector>

#include "platform/gl.h"
#include "shaders/shader_program.h"

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

// While a record is installed, every program a ShaderProgram builds appends
// its build to it; nullptr stops recording. Recording costs the two info-log
// queries that a successful build otherwise skips, and changes nothing else.
void recordShaderBuilds(std::vector<ShaderBuild>* record);
