// One shading mode and the OpenGL program that renders it.
#pragma once

#include <istream>
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

// The source text of an open file, as readSource makes it: each line
// followed by one LF, a CR before an LF dropped.
std::string readSourceLines(std::istream& file);

// Where compileShader takes each file's text from in an observed build:
// readSourceUntraced, unless a tool installs a reader of its own (one that
// reads through a single descriptor and remembers what it found). The
// viewer's own builds always use readSource. Returns the reader it replaces;
// nullptr restores readSourceUntraced.
using SourceReader = std::string (*)(const std::string& path);
SourceReader setSourceReader(SourceReader reader);
