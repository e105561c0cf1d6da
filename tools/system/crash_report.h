// The one line a crash prints, shared by the systems' crash handlers. Its
// parts are kept in fixed buffers set before any crash, so that a handler
// allocates nothing.
#pragma once

void rememberCrashingTool(const char* tool);

// Writes "TOOL: FILE: the OpenGL driver crashed while compiling it" or
// "TOOL: crashed" with `writeText`, the system's plain write to standard
// error.
void writeCrashReport(void (*writeText)(const char*));
