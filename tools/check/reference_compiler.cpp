#include "tools/check/reference_compiler.h"

#include <glslang/Public/ResourceLimits.h>
#include <glslang/Public/ShaderLang.h>

namespace {

// glslang's default version is OpenGL ES 1.00 unless a desktop one is given.
constexpr int kDefaultVersion = 110;

// glslang closes every failed compile with two lines of its own that say
// nothing about the source: "'' : compilation terminated" and
// "2 compilation errors.  No code generated."
bool saysSomething(const LogMessage& message) {
    if (message.severity != "error") return false;
    if (message.text.rfind("'' : compilation terminated", 0) == 0) return false;
    const std::string closing = " compilation error";
    const size_t digits = message.text.find_first_not_of("0123456789");
    return digits == 0 || digits == std::string::npos || message.text.compare(digits, closing.size(), closing) != 0;
}

}  // namespace

const char ReferenceCompiler::kName[] = "the reference compiler (glslang)";

ReferenceCompiler::ReferenceCompiler() { glslang::InitializeProcess(); }

ReferenceCompiler::~ReferenceCompiler() { glslang::FinalizeProcess(); }

std::vector<LogMessage> ReferenceCompiler::errors(const std::string& source, bool isFragment) const {
    glslang::TShader shader(isFragment ? EShLangFragment : EShLangVertex);
    const char* text = source.c_str();
    shader.setStrings(&text, 1);
    std::vector<LogMessage> found;
    if (shader.parse(GetDefaultResources(), kDefaultVersion, false, EShMsgDefault)) return found;
    for (const LogMessage& message : parseDriverLog(shader.getInfoLog())) {
        if (saysSomething(message)) found.push_back(message);
    }
    // A rejection always says why; should the log be unreadable, say so.
    if (found.empty()) found.push_back({0, 0, "error", "rejected without a message"});
    return found;
}
