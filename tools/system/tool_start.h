// What both tools do first, before they parse their arguments.
#pragma once

// Standard streams secured, a stack deep enough for the driver's compiler,
// crashes and failed allocations reported in one line with status 1.
// Returns whether standard output was open for writing at start.
bool startTool(const char* tool, char** argv);
