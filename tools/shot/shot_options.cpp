#include "tools/shot/shot_options.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

const char kShotUsage[] =
    "usage: verrine-shot OUT.png [--mode 200|201|202] [--debug LIST] [--frames N] [--size WxH]\n"
    "                    [--vertex FILE --fragment FILE]\n"
    "                    [--compare REF.png [--tolerance N] [--fuzz L]]\n";

namespace {

// Frames and sizes big enough for any real use, small enough that a typo
// cannot ask for gigabytes.
constexpr long kMaxFrames = 100000;
constexpr long kMaxSide = 8192;
constexpr long kMaxPixels = kMaxSide * kMaxSide;
constexpr long kMaxLevel = 255;

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
    flags.showLightLocations = false;
    flags.showAxis = false;
    flags.showBasePlane = false;
    flags.rotateScene = false;
    flags.showRotationPoint = false;
    if (text == "none") return true;
    std::istringstream names(text);
    std::string name;
    while (std::getline(names, name, ',')) {
        if (name == "light") flags.showLightLocations = true;
        else if (name == "axis") flags.showAxis = true;
        else if (name == "plane") flags.showBasePlane = true;
        else if (name == "rotate") flags.rotateScene = true;
        else if (name == "point") flags.showRotationPoint = true;
        else return false;
    }
    return true;
}

}  // namespace

bool parseShotOptions(int count, const char* const* arguments, ShotOptions& options,
                      std::string& problem) {
    bool modeGiven = false;
    bool comparingGiven = false;
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
        if (i + 1 == count) {
            problem = argument + " needs a value";
            return false;
        }
        const std::string value = arguments[++i];
        bool valid = true;
        if (argument == "--mode") {
            valid = value == "200" || value == "201" || value == "202";
            if (valid) options.mode = std::atoi(value.c_str());
            modeGiven = true;
        } else if (argument == "--debug") {
            valid = parseDebugList(value, options.debug);
            options.debugGiven = true;
        } else if (argument == "--frames") {
            valid = parseCount(value, kMaxFrames, options.frames);
        } else if (argument == "--size") {
            valid = parseSize(value, options.width, options.height);
        } else if (argument == "--vertex" || argument == "--fragment" || argument == "--compare") {
            valid = !value.empty();
            (argument == "--vertex" ? options.vertexPath
             : argument == "--fragment" ? options.fragmentPath
                                        : options.comparePath) = value;
        } else if (argument == "--tolerance") {
            valid = parseNumber(value, 0, kMaxPixels, options.tolerance);
            comparingGiven = true;
        } else if (argument == "--fuzz") {
            valid = parseNumber(value, 0, kMaxLevel, options.fuzz);
            comparingGiven = true;
        } else {
            problem = "unknown option " + argument;
            return false;
        }
        if (!valid) {
            problem = "bad value for " + argument + ": \"" + value + "\"";
            return false;
        }
    }
    if (options.output.empty()) {
        problem = "no output file given";
    } else if (options.vertexPath.empty() != options.fragmentPath.empty()) {
        problem = "--vertex and --fragment go together: a program needs both stages";
    } else if (options.pairGiven() && modeGiven && options.mode != 201) {
        problem = "--vertex and --fragment are drawn as the toon program, mode 201";
    } else if (comparingGiven && options.comparePath.empty()) {
        problem = "--tolerance and --fuzz need --compare";
    } else if (!options.comparePath.empty() && options.toStandardOutput()) {
        problem = "--compare needs OUT.png as a file, to write the difference picture next to it";
    }
    if (options.pairGiven()) options.mode = 201;
    return problem.empty();
}
