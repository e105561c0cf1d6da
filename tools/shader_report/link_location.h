// A linker's message put at the declaration it is about. Linkers name a
// variable or a function but no file or line ("fragment shader varying
// normal not written by vertex shader"), which no editor can jump to.
#pragma once

#include "tools/shader_report/build_report.h"

// Moves `diagnostic`, a message of the program's link log, to the
// declaration of the variable or function it names, in the file of the
// stage the message names first; the linker's text stays as it is. A
// message about a missing main is put on its stage's file. Anything else is
// left under the program's name.
void locateLinkMessage(const ProgramReport& program, SourceDiagnostic& diagnostic);
