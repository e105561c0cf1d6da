// Reading a GLSL source file into one string, with the traces of reading.
#include <filesystem>
#include <fstream>

#include "render/render_options.h"
#include "shaders/diagnostic.h"
#include "shaders/shader_program.h"

// Text mode, done the same way on every platform: a line ends at LF, and a CR
// right before that LF (a Windows line end) is not part of the line. A missing
// or unreadable file leaves the stream failed, so the loop reads nothing and
// the result is empty. Only a regular file is opened: a directory would fail
// at its first read anyway, a named pipe would hold start-up until something
// writes to it, and a device such as /dev/zero would never end.
std::string ShaderProgram::readSourceUntraced(const std::string& path) {
    // Paths are UTF-8; on Windows the file is then opened through the
    // wide-character calls.
    const std::filesystem::path filePath = std::filesystem::u8path(path);
    std::ifstream file;
    std::error_code unused;
    if (std::filesystem::is_regular_file(filePath, unused)) file.open(filePath, std::ios::in | std::ios::binary);
    return readSourceLines(file);
}

std::string readSourceLines(std::istream& file) {
    std::string result;
    std::string line;
    while (std::getline(file, line)) {
        const bool endedByLineFeed = !file.eof();
        if (endedByLineFeed && !line.empty() && line.back() == '\r') line.pop_back();
        result += line;
        result += '\n';
    }
    return result;
}

std::string ShaderProgram::readSource(std::string path) {
    traceFilePath(path);
    std::string text = readSourceUntraced(path);
    traceSourceText(text);
    return text;
}

void ShaderProgram::traceFilePath(std::string path) {
    if (options->shaderDebug) writeDiagnostic("File import path", path);
}

void ShaderProgram::traceSourceText(std::string text) {
    if (options->shaderDebug) writeDiagnostic("Shader text", text);
}
