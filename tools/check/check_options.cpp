#include "tools/check/check_options.h"

namespace {

const char kUsage[] =
    "usage: verrine-check [--verbose] [--strict] [--no-reference] [--watch]\n"
    "                     [DIR | --vertex FILE --fragment FILE]\n";

const char kHelp[] =
    "Compiles and links the toon and edge shader programs from DIR/resources/shaders (DIR\n"
    "defaults to the working directory), or the one program of --vertex and --fragment,\n"
    "exactly as the viewer does, with no display. Each message is printed as compilers print\n"
    "them, PATH:LINE:COLUMN: error: message, with the source line and a caret under the column.\n"
    "  --verbose       also print each file's text with line numbers\n"
    "  --strict        warnings fail the check too\n"
    "  --no-reference  no second opinion from the reference compiler (glslang)\n"
    "  --watch         stay running and check again whenever a file changes\n"
    "  --version       print the version and exit\n"
    "Warnings: uniforms and attributes the viewer never feeds, shaders written for another\n"
    "GLSL, and faults the driver lets pass that the reference compiler finds. Notes explain\n"
    "the error above them.\n"
    "Exit status: 0 all compile and link, 1 something fails, 2 the check cannot run.\n";

}  // namespace

const ToolDescription kCheckTool = {"verrine-check", kUsage, kHelp};

bool parseCheckOptions(int count, const char* const* arguments, CheckOptions& options,
                       std::string& problem) {
    bool folderGiven = false;
    for (int i = 0; i < count; ++i) {
        const std::string argument = arguments[i];
        if (argument == "--verbose" || argument == "-v") {
            options.showSources = true;
        } else if (argument == "--strict") {
            options.strict = true;
        } else if (argument == "--no-reference") {
            options.reference = false;
        } else if (argument == "--watch") {
            options.watch = true;
        } else if (takeShaderPairOption(count, arguments, i, options.pair, problem)) {
            if (!problem.empty()) return false;
        } else if (!argument.empty() && argument[0] == '-') {
            problem = "unknown option " + argument;
            return false;
        } else if (folderGiven) {
            problem = "more than one DIR given";
            return false;
        } else {
            options.folder = argument;
            folderGiven = true;
        }
    }
    problem = options.pair.problem();
    if (!problem.empty()) return false;
    if (folderGiven && options.pair.given()) {
        problem = "give either DIR or --vertex and --fragment, not both";
        return false;
    }
    return true;
}
