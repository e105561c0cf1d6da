// The entry point of the command-line tools. Each tool defines toolMain();
// the system's own entry point calls it with the arguments in UTF-8, the
// encoding of every path inside the tools: on Linux main() hands them on as
// they come, on Windows wmain() converts the wide command line and has the
// console show UTF-8 for the run (entry_posix.cpp, entry_windows.cpp).
#pragma once

int toolMain(int argc, char** argv);

// A window program (verrine-live) is entered through WinMain, as the viewer
// is, and takes its arguments from here, in UTF-8 as toolMain gets them,
// its name first, followed by a null pointer: on Linux as the layer's main()
// kept them, on Windows from the wide command line. On Windows, its
// standard output and error, unless they were handed over, go to the
// console it was started from, as the viewer's reports do
// (window_entry_posix.cpp, window_entry_windows.cpp).
char** windowProgramArguments(int& argc);
