#include "shaders/shader_mode.h"

bool shaderModeNamed(const std::string& text, ShaderMode& mode) {
    for (const ShaderModeName& entry : kShaderModeNames) {
        if (text == entry.name || text == std::to_string(entry.mode)) {
            mode = entry.mode;
            return true;
        }
    }
    return false;
}

std::string shaderModeName(ShaderMode mode) {
    for (const ShaderModeName& entry : kShaderModeNames) {
        if (entry.mode == mode) return entry.name;
    }
    return std::to_string(mode);
}
