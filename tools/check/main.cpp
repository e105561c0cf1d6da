// verrine-check: compiles and links the viewer's toon and edge programs with
// no display, from the shader files under DIR/resources/shaders.
//
// Exit status: 0 when every file compiles and both programs link, 1 when
// anything fails, 2 when the check cannot run (bad arguments, DIR cannot be
// entered, no OpenGL 2.0 context).

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <string>

#include "platform/gl.h"
#include "tools/check/shader_check.h"
#include "tools/headless/headless_context.h"

namespace {

const char kUsage[] = "usage: verrine-check [--verbose] [DIR]\n";
const char kHelp[] =
    "Compiles and links the toon and edge shader programs from DIR/resources/shaders (DIR\n"
    "defaults to the working directory) exactly as the viewer does, with no display, and\n"
    "prints every compile and link report under the file or program it belongs to.\n"
    "  --verbose   also print each file's text with line numbers\n"
    "Exit status: 0 all compile and link, 1 something fails, 2 the check cannot run.\n";

int usageError(const std::string& problem) {
    std::cerr << "verrine-check: " << problem << '\n' << kUsage;
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    CheckReportStyle style;
    bool folderGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            std::cout << kUsage << kHelp;
            return 0;
        }
        if (argument == "--verbose" || argument == "-v") {
            style.showSources = true;
        } else if (!argument.empty() && argument[0] == '-') {
            return usageError("unknown option " + argument);
        } else if (folderGiven) {
            return usageError("more than one DIR given");
        } else {
            style.folder = argument;
            folderGiven = true;
        }
    }

    // The viewer reads its sources relative to its working directory; the
    // check does the same from DIR, and shows the paths with DIR in front.
    if (folderGiven && chdir(style.folder.c_str()) != 0) {
        std::cerr << "verrine-check: cannot enter " << style.folder << ": " << std::strerror(errno)
                  << '\n';
        return 2;
    }

    HeadlessContext context;
    if (!context.failure().empty()) {
        std::cerr << "verrine-check: no OpenGL context: " << context.failure() << '\n';
        return 2;
    }
    // Below 2.0 the viewer's shader calls do nothing, which would read as a
    // failure of every file rather than of the machine.
    const int version = epoxy_gl_version();
    if (version < 20) {
        std::cerr << "verrine-check: no OpenGL context: the driver offers OpenGL "
                  << version / 10 << '.' << version % 10 << ", shaders need 2.0\n";
        return 2;
    }

    const bool passed = printCheck(std::cout, checkShaderPrograms(), style);
    return passed ? 0 : 1;
}
