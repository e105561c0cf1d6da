#include "tools/system/large_stack.h"

// A Windows program's stack size is fixed when it is linked: the tools are
// linked with a 64 MiB stack, as large as the Linux tools raise theirs to
// (tools/CMakeLists.txt).
void ensureLargeStack(char**) {}
