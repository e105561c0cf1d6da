// The reference compiler's second opinion on a file the driver compiled: a
// warning wherever glslang finds a fault the driver let pass, in plain words
// where glslang's message names a rule of the language. When the driver
// rejects a file its errors stand; glslang accepting it is no evidence that
// other drivers would, and is not said.
#pragma once

#include <string>

#include "tools/check/reference_compiler.h"
#include "tools/shader_report/build_report.h"

void addSecondOpinion(const ReferenceCompiler& reference, const std::string& driver, FileReport& file,
                      bool isFragment);
