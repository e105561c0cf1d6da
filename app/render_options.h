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
