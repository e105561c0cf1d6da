// Windows only: the console a window program was started from. Windows
// gives a GUI program standard streams only when whoever started it handed
// them over (a pipe, or cmd's "2> file"); started from a console without
// that, the program writes to that console instead. Shared by the viewer's
// reports and verrine-live's standard output and error.
#pragma once

#include <windows.h>

// Whether the standard stream (STD_OUTPUT_HANDLE, STD_ERROR_HANDLE) was
// handed over.
bool standardHandleGiven(DWORD which);

// A new C runtime descriptor, in text mode, writing to the console the
// program was started from (attached on the first call); -1 when it was
// started from none (from Explorer, say).
int parentConsoleDescriptor();
