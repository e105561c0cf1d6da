#include "tools/check/check_options.h"

const char kCheckUsage[] =
    "usage: verrine-check [--verbose] [--strict] [--no-reference] [--watch]\n"
    "                     [DIR | --vertex FILE --fragment FILE]\n";

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
        } else if (argument == "--vertex" || argument == "--fragment") {
            if (i + 1 == count || arguments[i + 1][0] == '\0') {
                problem = argument + " needs a file";
                return false;
            }
            (argument == "--vertex" ? options.vertexPath : options.fragmentPath) = arguments[++i];
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
    if (options.vertexPath.empty() != options.fragmentPath.empty()) {
        problem = "--vertex and --fragment go together: a program needs both stages";
        return false;
    }
    if (folderGiven && options.pairGiven()) {
        problem = "give either DIR or --vertex and --fragment, not both";
        return false;
    }
    return true;
}
