// One shading mode and the OpenGL program that renders it.
#pragma once

#include <istream>
#include <string>

#include "platform/gl.h"
#include "render/scene_reader.h"
#include "shaders/shader_build.h"
#include "shaders/shader_mode.h"

// A plain value: copies share the program name, and it deletes nothing.
class ShaderProgram {
public:
    // With an observer, the build is reported to it instead of to
    // writeDiagnostic (shaders/shader_build.h). With a reader, the sources
    // come from it; otherwise from readSource, or, in an observed build,
    // readSourceUntraced.
    ShaderProgram(ShaderMode mode, std::string vertexPath, std::string fragmentPath,
                  const ShaderBuildObserver& observer = nullptr, SceneReader* reader = nullptr);

    // Each step fills its part of `record` when one is given.
    void buildProgram(std::string vertexPath, std::string fragmentPath, ShaderBuild* record = nullptr,
                      SceneReader* reader = nullptr);
    GLuint compileShader(std::string path, bool isFragment, ShaderStageBuild* record = nullptr,
                         SceneReader* reader = nullptr);
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

// The source text of an open file, as readSource makes it: each line
// followed by one LF, a CR before an LF dropped.
std::string readSourceLines(std::istream& file);
