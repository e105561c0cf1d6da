// The tools' cases that hold wherever the tools run: the Linux tests use
// them, and so do the Windows build's runs under Wine (tests/windows/).
#pragma once

#include <ostream>
#include <string>
#include <vector>

const char kSoundVertex[] = "#version 110\nvoid main()\n{\n    gl_Position = ftransform();\n}\n";
const char kSoundFragment[] = "#version 110\nvoid main()\n{\n    gl_FragColor = vec4(1.0);\n}\n";

// A fault and its report in the form editors jump from: PATH:LINE:COLUMN,
// then the line and a caret under the column as written (Mesa counts its
// indentation as one space).
const char kBrokenVertex[] = "#version 110\nvoid main()\n{\n    gl_Position = undeclared;\n}\n";
const char kBrokenVertexReport[] =
    ":4:19: error: `undeclared' undeclared\n    gl_Position = undeclared;\n                  ^\n";

const char kToonVertex[] = "resources/shaders/testVertex.txt";
const char kToonFragment[] = "resources/shaders/testFragment.txt";

// verrine-live's title while its programs build, and saves of the toon
// fragment: one drawing everything pure green, one calling, on line 31, a
// function that does not exist, with its title and a line of its report.
const char kLiveTitle[] = "Verrine live";
inline std::string greened(std::string text) {
    return text.insert(text.rfind('}'), "    gl_FragColor = vec4(0.0, 1.0, 0.0, 1.0);\n");
}
inline std::string broken(std::string text) { return text.replace(text.find("max(dot(normal"), 3, "maxx"); }
const char kBrokenToonTitle[] = "Verrine live - toon: testFragment.txt does not compile (1 error)";
const char kBrokenToonReport[] = "resources/shaders/testFragment.txt:31:21: error: no function with name 'maxx'\n";

// Shots at the viewer's client size share their references with the
// screenshots of the running viewer (tests/references/); only the
// frame-rate text differs. `make references` rewrites them.
const char kClientSize[] = "484x436";
constexpr int kClientWidth = 484;
constexpr int kClientHeight = 436;
// Some pixels may differ between driver versions (an edge, a grid line); the
// pictures of two modes differ in more than 1 % of their pixels. The grid's
// lines stand about 35 steps off the background.
constexpr double kTolerance = 0.002;
constexpr int kChannelTolerance = 24;

struct ReferenceShot {
    const char* name;
    const char* reference;
    std::vector<std::string> arguments;
};

inline void PrintTo(const ReferenceShot& shot, std::ostream* out) { *out << shot.name; }

const ReferenceShot kReferenceShots[] = {
    {"fixed", "mode-fixed", {}},
    {"toon", "mode-toon", {"--mode", "toon"}},
    {"edge", "mode-edge", {"--mode", "edge"}},
    // Rotation advances once per frame: 180 frames turn the scene by 90 degrees.
    {"debug", "shot-debug-turned", {"--debug", "light,axis,plane,rotate", "--frames", "180"}},
    // A pair given by hand is drawn exactly as the viewer draws it as its toon program.
    {"pair", "mode-toon", {"--vertex", kToonVertex, "--fragment", kToonFragment}},
};
