#include "tools/live/live_options.h"

namespace {

const char kUsage[] = "usage: verrine-live [--resources DIR] [--vertex FILE --fragment FILE] [--no-reference]\n";

const char kHelp[] =
    "The viewer's window, scene and controls, titled \"Verrine live\": whenever one of the\n"
    "shader files is saved, its mode's program is built again and, if it builds, drawn from\n"
    "the next frame on, with the camera, the mode and the Debug switches as they were. A\n"
    "program that does not build leaves the last good one on the screen; its report goes to\n"
    "standard error as verrine-check prints it, and the title says what is wrong.\n"
    "  --resources DIR      the viewer's data folder (texture, shaders); by default\n"
    "                       ./resources as the viewer reads it, else the copy installed with\n"
    "                       the program, else the repository's when run from a build inside it\n"
    "  --vertex FILE --fragment FILE\n"
    "                       this pair is the toon program, shown from the start; only these\n"
    "                       two files are watched (otherwise the four in DIR/shaders)\n"
    "  --no-reference       no second opinion from the reference compiler (glslang)\n"
    "  --version            print the version and exit\n";

}  // namespace

const ToolDescription kLiveTool = {"verrine-live", kUsage, kHelp};

bool parseLiveOptions(int count, const char* const* arguments, LiveOptions& options, std::string& problem) {
    for (int i = 0; i < count; ++i) {
        const std::string argument = arguments[i];
        if (argument == "--no-reference") {
            options.reference = false;
        } else if (argument == "--resources") {
            if (i + 1 == count || arguments[i + 1][0] == '\0') {
                problem = "--resources needs a folder";
                return false;
            }
            options.resources = arguments[++i];
        } else if (takeShaderPairOption(count, arguments, i, options.pair, problem)) {
            if (!problem.empty()) return false;
        } else {
            problem = (!argument.empty() && argument[0] == '-' ? "unknown option " : "unexpected argument ") + argument;
            return false;
        }
    }
    problem = options.pair.problem();
    return problem.empty();
}
