// verrine-check: compiles and links the viewer's toon and edge programs, or
// one pair of files, with no display, and reports as compilers do.
//
// Exit status: 0 when every file compiles and every program links, 1 when
// anything fails (or, with --strict, anything is warned about, or the driver
// crashes on a file), 2 when the check cannot run (bad arguments, DIR cannot
// be entered, no OpenGL 2.0 context). In watch mode: 0 when stopped with
// Ctrl-C.

#include <filesystem>
#include <iostream>
#include <string>

#include "platform/gl.h"
#include "tools/check/check_options.h"
#include "tools/check/shader_check.h"
#include "tools/check/watch.h"
#include "tools/headless/headless_context.h"
#include "tools/system/entry.h"
#include "tools/system/tool_start.h"

int toolMain(int argc, char** argv) {
    startTool("verrine-check", argv);
    if (answeredHelpOrVersion(kCheckTool, argc - 1, argv + 1, std::cout)) return 0;
    CheckOptions options;
    std::string problem;
    if (!parseCheckOptions(argc - 1, argv + 1, options, problem)) return usageError(kCheckTool, problem);

    // The viewer reads its sources relative to its working directory; the
    // check does the same from DIR, and shows the paths with DIR in front.
    std::error_code error;
    if (!options.folder.empty()) std::filesystem::current_path(std::filesystem::u8path(options.folder), error);
    if (error) {
        std::cerr << "verrine-check: cannot enter " << options.folder << ": " << error.message() << '\n';
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

    ShaderCheck check(options);
    if (options.watch) {
        return watchAndCheck(
            [&check] {
                check.run(std::cout);
                return check.files();
            },
            std::cout, std::cerr);
    }
    return check.run(std::cout) ? 0 : 1;
}
