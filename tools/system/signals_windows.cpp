#include "tools/system/signals.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

namespace {

// Written by the tool, read by the crash filter; no allocation in between.
const char* toolName = "";
char compilingFile[4096] = "";

void writeText(const char* text) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), text, static_cast<DWORD>(std::strlen(text)), &written, nullptr);
}

// Ctrl+C, Ctrl+Break and the console's close all stop the tool with status
// 0, at once, even in the middle of a compile (the handler runs on a thread
// of its own).
BOOL WINAPI onConsoleControl(DWORD) {
    ExitProcess(0);
}

LONG WINAPI onCrash(EXCEPTION_POINTERS*) {
    writeText(toolName);
    if (compilingFile[0] != '\0') {
        writeText(": ");
        writeText(compilingFile);
        writeText(": the OpenGL driver crashed while compiling it\n");
    } else {
        writeText(": crashed\n");
    }
    ExitProcess(1);
}

}  // namespace

void endOnStopSignals() { SetConsoleCtrlHandler(onConsoleControl, TRUE); }

// No error dialog: the crash is reported on standard error like a failure.
void reportCrashes(const char* tool) {
    toolName = tool;
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    SetUnhandledExceptionFilter(onCrash);
}

void setCompilingFile(const std::string& path) {
    const size_t length = std::min(path.size(), sizeof compilingFile - 1);
    std::memcpy(compilingFile, path.data(), length);
    compilingFile[length] = '\0';
}
