#include "tools/system/crash_report.h"

#include <algorithm>
#include <cstring>

#include "tools/system/signals.h"

namespace {

// Written by the tool, read by the crash handler; no allocation in between.
const char* toolName = "";
char compilingFile[4096] = "";

}  // namespace

void rememberCrashingTool(const char* tool) { toolName = tool; }

void writeCrashReport(void (*writeText)(const char*)) {
    writeText(toolName);
    if (compilingFile[0] != '\0') {
        writeText(": ");
        writeText(compilingFile);
        writeText(": the OpenGL driver crashed while compiling it\n");
    } else {
        writeText(": crashed\n");
    }
}

void setCompilingFile(const std::string& path) {
    const size_t length = std::min(path.size(), sizeof compilingFile - 1);
    std::memcpy(compilingFile, path.data(), length);
    compilingFile[length] = '\0';
}
