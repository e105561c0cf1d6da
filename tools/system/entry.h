// The entry point of the command-line tools. Each tool defines toolMain();
// the system's own entry point calls it with the arguments in UTF-8, the
// encoding of every path inside the tools: on Linux main() hands them on as
// they come, on Windows wmain() converts the wide command line and has the
// console show UTF-8 for the run (entry_posix.cpp, entry_windows.cpp).
#pragma once

int toolMain(int argc, char** argv);
