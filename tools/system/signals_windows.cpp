#include "tools/system/signals.h"

#include <windows.h>

#include <cstring>

#include "tools/system/crash_report.h"

namespace {

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
    writeCrashReport(writeText);
    ExitProcess(1);
}

}  // namespace

void endOnStopSignals() { SetConsoleCtrlHandler(onConsoleControl, TRUE); }

// No error dialog: the crash is reported on standard error like a failure.
void reportCrashes(const char* tool) {
    rememberCrashingTool(tool);
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    SetUnhandledExceptionFilter(onCrash);
}
