// The one diagnostic output of the shader subsystem. It goes to standard
// error; on Windows, where a GUI program started from a console has none,
// to that console, and always to the debugger's output as well. Tests
// replace the destination to capture what was reported.
#pragma once

#include <string>

void writeDiagnostic(std::string caption, std::string text);

using DiagnosticSink = void (*)(const std::string& caption, const std::string& text);
// Installs a sink for every later writeDiagnostic; returns the previous one.
// Passing nullptr restores the standard error output.
DiagnosticSink setDiagnosticSink(DiagnosticSink sink);
