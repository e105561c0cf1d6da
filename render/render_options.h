// The process-wide switches: the quit request, the five Debug toggles and the
// shader source traces. One record, created during static initialisation.
#pragma once

struct RenderOptions {
    bool quitRequested = false;
    bool showLightLocations = false;
    bool showAxis = false;
    bool showBasePlane = true;
    bool rotateScene = false;
    bool showRotationPoint = true;
    bool shaderDebug = true;
};

extern RenderOptions* options;

// One Debug toggle as each place that shows it names it: the Debug menu (in
// this order), verrine-shot's --debug and its help.
struct DebugSwitch {
    const char* name;   // on a command line
    const char* label;  // in the Debug menu
    bool RenderOptions::*flag;
};

constexpr DebugSwitch kDebugSwitches[] = {
    {"light", "Show Light Locations", &RenderOptions::showLightLocations},
    {"axis", "Show Axis", &RenderOptions::showAxis},
    {"plane", "Show Base Plane", &RenderOptions::showBasePlane},
    {"rotate", "Rotate Scene", &RenderOptions::rotateScene},
    {"point", "Show Rotation Point", &RenderOptions::showRotationPoint},
};

// Copies the five Debug toggles, and nothing else, from one record to another.
void copyDebugSwitches(const RenderOptions& from, RenderOptions& to);
