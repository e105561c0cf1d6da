#include "shaders/shader_program.h"

#include <cstring>
#include <vector>

#include "shaders/diagnostic.h"
#include "shaders/gl_entry_points.h"

namespace {

const char kCompileFailureHeader[] = "Shader compilation failed. Printing log:\n";
const char kLinkFailureHeader[] = "Shader program link failed. Printing log:\n";
const char kLogRule[] = "--------------------------------------------------------------\n";

// The status and the length start at 0, so that a query OpenGL rejects (for
// the name 0) reads as a failure with an empty log.
bool statusIsSet(GLuint object, GLenum statusName, PFNGLGETSHADERIVPROC getParameter) {
    GLint status = 0;
    getParameter(object, statusName, &status);
    return status != 0;
}

// The reported length counts the log's terminating NUL; the text is taken up
// to that NUL and kept as the driver wrote it.
std::string infoLog(GLuint object, PFNGLGETSHADERIVPROC getParameter,
                    PFNGLGETSHADERINFOLOGPROC getLog) {
    GLint length = 0;
    getParameter(object, GL_INFO_LOG_LENGTH, &length);
    if (length <= 0) return std::string();
    std::vector<GLchar> buffer(static_cast<size_t>(length), '\0');
    getLog(object, length, nullptr, buffer.data());
    return std::string(buffer.data(), strnlen(buffer.data(), buffer.size()));
}

// Reports a failure under its header, or, while a build is recorded, keeps
// the status and the log instead, the log even after a success: it may hold
// the driver's warnings.
void checkStatus(GLuint object, GLenum statusName, PFNGLGETSHADERIVPROC getParameter,
                 PFNGLGETSHADERINFOLOGPROC getLog, const char* failureHeader, bool* recordedSuccess,
                 std::string* recordedLog) {
    const bool succeeded = statusIsSet(object, statusName, getParameter);
    if (succeeded && recordedLog == nullptr) return;
    const std::string log = infoLog(object, getParameter, getLog);
    if (recordedLog != nullptr) {
        *recordedSuccess = succeeded;
        *recordedLog = log;
        return;
    }
    if (!succeeded) writeDiagnostic("", failureHeader + std::string(kLogRule) + log);
}

}  // namespace

ShaderProgram::ShaderProgram(ShaderMode mode, std::string vertexPath, std::string fragmentPath,
                             const ShaderBuildObserver& observer, SceneReader* reader)
    : mode(mode), program(0) {
    if (mode == kFixedPipelineMode) return;
    if (!observer) {
        buildProgram(vertexPath, fragmentPath, nullptr, reader);
        return;
    }
    ShaderBuild build;
    build.mode = mode;
    buildProgram(vertexPath, fragmentPath, &build, reader);
    observer(build);
}

// Shaders are attached and linked even when their compile failed; nothing is
// ever detached or deleted.
void ShaderProgram::buildProgram(std::string vertexPath, std::string fragmentPath, ShaderBuild* record,
                                 SceneReader* reader) {
    GLuint vertexShader = compileShader(vertexPath, false, record ? &record->vertex : nullptr, reader);
    GLuint fragmentShader = compileShader(fragmentPath, true, record ? &record->fragment : nullptr, reader);
    program = glCreateProgram();
    glAttachShader(program, vertexShader);
    glAttachShader(program, fragmentShader);
    glLinkProgram(program);
    checkLinkStatus(program, record);
    if (record != nullptr) record->program = program;
}

// A shader that could not be created is reported and then carried through
// the remaining steps as name 0, which OpenGL ignores.
GLuint ShaderProgram::compileShader(std::string path, bool isFragment, ShaderStageBuild* record,
                                    SceneReader* reader) {
    GLuint shader = glCreateShader(isFragment ? GL_FRAGMENT_SHADER : GL_VERTEX_SHADER);
    if (shader == 0 && record == nullptr) writeDiagnostic("", "Shader failed to correctly initialize.");
    std::string text = reader != nullptr   ? reader->readSource(path)
                       : record == nullptr ? readSource(path)
                                           : readSourceUntraced(path);
    // One NUL-terminated string: the driver sees the text up to its first NUL.
    const GLchar* source = text.c_str();
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    if (record != nullptr) {
        record->path = path;
        record->source = source;
        record->shader = shader;
    }
    checkCompileStatus(shader, record);
    return shader;
}

void ShaderProgram::checkCompileStatus(GLuint shader, ShaderStageBuild* record) {
    checkStatus(shader, GL_COMPILE_STATUS, glGetShaderiv, glGetShaderInfoLog, kCompileFailureHeader,
                record ? &record->compiled : nullptr, record ? &record->log : nullptr);
}

// A program that fails to link cannot be put in use: the mode would show as
// active while another program draws, so the failure is reported.
void ShaderProgram::checkLinkStatus(GLuint program, ShaderBuild* record) {
    checkStatus(program, GL_LINK_STATUS, glGetProgramiv, glGetProgramInfoLog, kLinkFailureHeader,
                record ? &record->linked : nullptr, record ? &record->linkLog : nullptr);
}

// The choice rests on the mode, not on the name: the fixed pipeline is
// selected by program 0 even if a shader mode's program name is 0 as well.
void ShaderProgram::use() {
    glUseProgram(mode == kFixedPipelineMode ? 0 : program);
}
