// The command line of verrine-shot.
#pragma once

#include <string>

#include "render/render_options.h"
#include "shaders/shader_mode.h"
#include "tools/common/command_line.h"

struct ShotOptions {
    std::string output;
    ShaderMode mode = kFixedPipelineMode;  // as the viewer starts
    bool debugGiven = false;    // whether --debug replaced the viewer's defaults
    RenderOptions debug;        // the five Debug toggles, when given
    int frames = 1;
    int width = 500;            // the viewport the viewer starts with
    int height = 500;
    ShaderPair pair;            // drawn as the toon program instead of the viewer's
    std::string resources;      // --resources: the data folder; empty to look for one
    std::string comparePath;    // a reference picture to compare the shot with
    int tolerance = 0;          // pixels that may differ from it
    int fuzz = 2;               // levels a channel may differ by before its pixel counts
    bool strict = false;        // warnings fail the shot, the picture still written

    bool toStandardOutput() const { return output == "-"; }
};

extern const ToolDescription kShotTool;

// Fills `options` from the arguments after the program name. On a mistake,
// returns false with one line saying what is wrong in `problem`.
bool parseShotOptions(int count, const char* const* arguments, ShotOptions& options,
                      std::string& problem);
