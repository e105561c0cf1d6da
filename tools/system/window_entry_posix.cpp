#include "platform/win32.h"
#include "tools/system/entry.h"

char** windowProgramArguments(int& argc) {
    argc = __argc;
    return __argv;
}
