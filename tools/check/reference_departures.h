// Where the reference compiler, glslang 12, departs from desktop GLSL
// 1.10/1.20 as the driver's compatibility context reads it: errors that
// glslang gives on valid code, which no setup of glslang avoids. Each rule
// reads glslang's message together with the source construct it is about.
#pragma once

#include <string>

#include "tools/shader_report/glsl_source.h"
#include "tools/shader_report/driver_log.h"

// Whether `error`, from glslang on `source`, is one of its known departures
// rather than a fault of the source.
bool isKnownDeparture(const LogMessage& error, const std::string& source, const GlslVersion& version);
