// How a tool ends when it is stopped or when the OpenGL driver crashes.
#pragma once

#include <string>

// From now on Ctrl-C (SIGINT) ends the process at once with status 0, and
// SIGTERM ends it as a death by that signal (a shell sees 143), even in the
// middle of a check that the driver takes long over. Output not yet flushed
// is lost, so a caller flushes before it waits.
void endOnStopSignals();

// A crash (SIGSEGV, SIGBUS) prints one line to standard error and ends the
// process with status 1, like a failed compile: "TOOL: FILE: the OpenGL
// driver crashed while compiling it" while a file is being compiled, else
// "TOOL: crashed". The line is printed from an alternate signal stack, as
// the usual crash in a driver is a stack that overflowed.
void reportCrashes(const char* tool);

// The file the next crash report names; an empty path for none.
void setCompilingFile(const std::string& path);
