#include "tools/system/tool_start.h"

#include <cstdio>
#include <cstdlib>
#include <new>

#include "tools/system/large_stack.h"
#include "tools/system/signals.h"
#include "tools/system/std_streams.h"

namespace {

const char* toolName = "";

// An allocation that fails ends the tool like any other failure, instead of
// an uncaught exception and an abort.
void onOutOfMemory() {
    std::fprintf(stderr, "%s: out of memory\n", toolName);
    std::_Exit(1);
}

}  // namespace

bool startTool(const char* tool, char** argv) {
    // Started again with a larger stack, if need be, before anything else:
    // the streams as the caller left them are seen once, in the new process.
    ensureLargeStack(argv);
    // Then, before any file or connection is opened, the standard streams.
    const bool outputWritable = secureStandardStreams();
    toolName = tool;
    reportCrashes(tool);
    std::set_new_handler(onOutOfMemory);
    return outputWritable;
}
