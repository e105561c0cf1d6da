// A second opinion on a shader from the Khronos reference front end,
// glslang: a driver may accept what the language does not (Mesa takes
// "1.0f" in GLSL 1.10) or reject what others accept.
#pragma once

#include <string>
#include <vector>

#include "tools/shader_report/driver_log.h"

class ReferenceCompiler {
public:
    ReferenceCompiler();
    ~ReferenceCompiler();
    ReferenceCompiler(const ReferenceCompiler&) = delete;
    ReferenceCompiler& operator=(const ReferenceCompiler&) = delete;

    // The errors the reference compiler finds; none when it accepts the
    // source. A source without #version is desktop GLSL 1.10, as the
    // drivers read it.
    std::vector<LogMessage> errors(const std::string& source, bool isFragment) const;

    static const char kName[];
};
