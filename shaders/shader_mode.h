// The shading modes and the names each place shows them by.
#pragma once

#include <cstdint>
#include <string>

// A shading mode, identified by the command id of its Shader menu item: the
// menu sends the mode itself.
using ShaderMode = std::int32_t;
constexpr ShaderMode kFixedPipelineMode = 200;
constexpr ShaderMode kToonMode = 201;
constexpr ShaderMode kEdgeMode = 202;

struct ShaderModeName {
    ShaderMode mode;
    const char* name;   // on a command line, and in "toon program"
    const char* label;  // in the Shader menu
};

// In Shader-menu order.
constexpr ShaderModeName kShaderModeNames[] = {
    {kFixedPipelineMode, "fixed", "Fixed Pipeline - 1"},
    {kToonMode, "toon", "Toon - 2"},
    {kEdgeMode, "edge", "Edge - 3"},
};

// The mode named by `text`, its name or its number; false when none is.
bool shaderModeNamed(const std::string& text, ShaderMode& mode);

// The mode's name, or its number for a mode without one.
std::string shaderModeName(ShaderMode mode);
