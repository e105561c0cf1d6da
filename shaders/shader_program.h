// One shading mode and the OpenGL program that renders it.
#pragma once

#include <string>

#include "platform/gl.h"
#include "shaders/shader_build.h"
#include "shaders/shader_mode.h"

// A plain value: copies share the program name, and it deletes nothing.
class ShaderProgram {
public:
    // With an observer, the build is reported to it instead of to
    // writeDiagnostic (shaders/shader_build.h).
    ShaderProgram(ShaderMode mode, std::string vertexPath, std::string fragmentPath,
                  const ShaderBuildObserver& observer = nullptr);

    // Each step fills its part of `record` when one is given.
    void buildProgram(std::string vertexPath, std::string fragmentPath, ShaderBuild* record = nullptr);
    GLuint compileShader(std::string path, bool isFragment, ShaderStageBuild* record = nullptr);
    void checkCompileStatus(GLuint shader, ShaderStageBuild* record = nullptr);
    void checkLinkStatus(GLuint program, ShaderBuild* record = nullptr);
    void use();

    static std::string readSource(std::string path);
    // The same text, without the traces of reading.
    static std::string readSourceUntraced(const std::string& path);
    static void traceFilePath(std::string path);
    static void traceSourceText(std::string text);

    ShaderMode mode;
    GLuint program;
};
