// One shading mode and the OpenGL program that renders it.
#pragma once

#include <cstdint>
#include <istream>
#include <string>

#include "platform/gl.h"

// A shading mode, identified by the command id of its Shader menu item.
using ShaderMode = std::int32_t;
constexpr ShaderMode kFixedPipelineMode = 200;
constexpr ShaderMode kToonMode = 201;
constexpr ShaderMode kEdgeMode = 202;

// A plain value: copies share the program name, nothing is ever deleted.
class ShaderProgram {
public:
    ShaderProgram(ShaderMode mode, std::string vertexPath, std::string fragmentPath);

    void buildProgram(std::string vertexPath, std::string fragmentPath);
    GLuint compileShader(std::string path, bool isFragment);
    void checkCompileStatus(GLuint shader);
    void checkLinkStatus(GLuint program);
    void use();

    static std::string readSource(std::string path);
    static void traceFilePath(std::string path);
    static void traceSourceText(std::string text);

    ShaderMode mode;
    GLuint program;
};

// The source text of an open file, as readSource makes it: each line
// followed by one LF, a CR before an LF dropped.
std::string readSourceLines(std::istream& file);

// Where compileShader takes each file's text from: readSource, unless a tool
// installs a reader of its own (one that reads through a single descriptor
// and remembers what it found). Returns the reader it replaces; nullptr
// restores readSource.
using SourceReader = std::string (*)(const std::string& path);
SourceReader setSourceReader(SourceReader reader);
