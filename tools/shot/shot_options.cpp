#include "tools/shot/shot_options.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

namespace {

// Frames and sizes big enough for any real use, small enough that a typo
// cannot ask for gigabytes.
constexpr long kMaxFrames = 100000;
constexpr long kMaxSide = 8192;
constexpr long kMaxPixels = kMaxSide * kMaxSide;
constexpr long kMaxLevel = 255;

// "fixed|toon|edge", or with the numbers: "fixed (200), toon (201), edge (202)".
std::string modeNames(const char* separator, bool withNumbers = false) {
    std::string names;
    for (const ShaderModeName& entry : kShaderModeNames) {
        names += (names.empty() ? "" : separator) + std::string(entry.name);
        if (withNumbers) names += " (" + std::to_string(entry.mode) + ")";
    }
    return names;
}

// The Debug switches' names, all of them or those on in `flags`.
std::string debugNames(const RenderOptions* flags) {
    std::string names;
    for (const DebugSwitch& debugSwitch : kDebugSwitches) {
        if (flags == nullptr || flags->*debugSwitch.flag) names += (names.empty() ? "" : ",") + std::string(debugSwitch.name);
    }
    return names;
}

std::string usage() {
    return "usage: verrine-shot OUT.png [--mode " + modeNames("|") +
           "] [--debug LIST] [--frames N] [--size WxH]\n"
           "                    [--vertex FILE --fragment FILE] [--resources DIR]\n"
           "                    [--compare REF.png [--tolerance N] [--fuzz L]] [--strict]\n";
}

std::string help() {
    const RenderOptions defaults;
    return "Renders the viewer's scene offscreen for N frames (default 1) and writes the last one to\n"
           "OUT.png (- for standard output).\n"
           "  --mode MODE          " + modeNames(", ", true) + "; the first is the default\n"
           "  --debug LIST         the Debug overlays that are on, from " + debugNames(nullptr) + ";\n"
           "                       the list replaces the viewer's defaults (" + debugNames(&defaults) +
           "); none: all off\n"
           "  --frames N           frames drawn; with rotate the scene turns half a degree per frame\n"
           "  --size WxH           picture size, default 500x500\n"
           "  --vertex FILE --fragment FILE\n"
           "                       draw with this pair as the toon program\n"
           "  --resources DIR      the viewer's data folder (texture, shaders); by default\n"
           "                       ./resources as the viewer reads it, else the copy installed with\n"
           "                       the program, else the repository's when run from a build inside it\n"
           "  --compare REF.png    then compare with REF.png: at most N pixels (--tolerance, default 0)\n"
           "                       may differ by more than L levels in a channel (--fuzz, default 2);\n"
           "                       beyond that, exit 1 and write OUT.diff.png showing where\n"
           "                       REF.png may be any PNG: 16-bit values are scaled to 8 bits, no gamma\n"
           "                       is applied, and alpha is composed over black\n"
           "  --strict             warnings fail with status 1; the picture is still written\n"
           "  --version            print the version and exit\n"
           "The warnings and notes of verrine-check on the program drawn go to standard error, and\n"
           "so does a warning when the picture is flat or almost empty.\n"
           "OUT.png is replaced whole, keeping its mode and owner; one with other hard links, or one\n"
           "that is any file this run reads, is refused.\n"
           "When the asked mode's program does not build, or no data folder is found, no picture is\n"
           "written. It needs an X display only because GLUT's geometry routines do; nothing is\n"
           "shown there.\n";
}

bool parseNumber(const std::string& text, long min, long max, int& value) {
    if (text.empty() || text[0] < '0' || text[0] > '9') return false;
    char* end = nullptr;
    errno = 0;
    const long parsed = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || parsed < min || parsed > max) return false;
    value = static_cast<int>(parsed);
    return true;
}

bool parseCount(const std::string& text, long max, int& value) { return parseNumber(text, 1, max, value); }

bool parseSize(const std::string& text, int& width, int& height) {
    const size_t cross = text.find('x');
    if (cross == std::string::npos) return false;
    return parseCount(text.substr(0, cross), kMaxSide, width) &&
           parseCount(text.substr(cross + 1), kMaxSide, height);
}

// The list names exactly the overlays that are on; "none" (or nothing) turns
// all five off.
bool parseDebugList(const std::string& text, RenderOptions& flags) {
    for (const DebugSwitch& debugSwitch : kDebugSwitches) flags.*debugSwitch.flag = false;
    if (text == "none") return true;
    std::istringstream names(text);
    std::string name;
    while (std::getline(names, name, ',')) {
        bool known = false;
        for (const DebugSwitch& debugSwitch : kDebugSwitches) {
            if (name != debugSwitch.name) continue;
            flags.*debugSwitch.flag = true;
            known = true;
        }
        if (!known) return false;
    }
    return true;
}

// What the options given so far say, checked once all are read.
struct Given {
    bool mode = false;
    bool comparing = false;
};

// One option that takes a value. Returns false for an unknown option;
// `valid` says whether the value fits it.
bool takeValue(const std::string& option, const std::string& value, ShotOptions& options, Given& given,
               bool& valid) {
    if (option == "--mode") {
        valid = shaderModeNamed(value, options.mode);
        given.mode = true;
    } else if (option == "--debug") {
        valid = parseDebugList(value, options.debug);
        options.debugGiven = true;
    } else if (option == "--frames") {
        valid = parseCount(value, kMaxFrames, options.frames);
    } else if (option == "--size") {
        valid = parseSize(value, options.width, options.height);
    } else if (option == "--compare" || option == "--resources") {
        valid = !value.empty();
        (option == "--compare" ? options.comparePath : options.resources) = value;
    } else if (option == "--tolerance") {
        valid = parseNumber(value, 0, kMaxPixels, options.tolerance);
        given.comparing = true;
    } else if (option == "--fuzz") {
        valid = parseNumber(value, 0, kMaxLevel, options.fuzz);
        given.comparing = true;
    } else {
        return false;
    }
    return true;
}

std::string combinationProblem(const ShotOptions& options, const Given& given) {
    if (options.output.empty()) return "no output file given";
    if (!options.pair.problem().empty()) return options.pair.problem();
    if (options.pair.given() && given.mode && options.mode != kToonMode) {
        return "--vertex and --fragment are drawn as the toon program (--mode " + shaderModeName(kToonMode) + ")";
    }
    if (given.comparing && options.comparePath.empty()) return "--tolerance and --fuzz need --compare";
    if (!options.comparePath.empty() && options.toStandardOutput()) {
        return "--compare needs OUT.png as a file, to write the difference picture next to it";
    }
    return "";
}

}  // namespace

const ToolDescription kShotTool = {"verrine-shot", usage(), help()};

bool parseShotOptions(int count, const char* const* arguments, ShotOptions& options,
                      std::string& problem) {
    Given given;
    for (int i = 0; i < count; ++i) {
        const std::string argument = arguments[i];
        const bool isOption = argument.size() > 1 && argument[0] == '-';
        if (!isOption) {
            if (!options.output.empty()) {
                problem = "more than one output file given";
                return false;
            }
            options.output = argument;
            continue;
        }
        if (argument == "--strict") {
            options.strict = true;
            continue;
        }
        if (takeShaderPairOption(count, arguments, i, options.pair, problem)) {
            if (!problem.empty()) return false;
            continue;
        }
        if (i + 1 == count) {
            problem = argument + " needs a value";
            return false;
        }
        const std::string value = arguments[++i];
        bool valid = true;
        if (!takeValue(argument, value, options, given, valid)) {
            problem = "unknown option " + argument;
            return false;
        }
        if (!valid) {
            problem = "bad value for " + argument + ": \"" + value + "\"";
            return false;
        }
    }
    problem = combinationProblem(options, given);
    if (options.pair.given()) options.mode = kToonMode;
    return problem.empty();
}
