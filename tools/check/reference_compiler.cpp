#include "tools/check/reference_compiler.h"

#include <glslang/Public/ResourceLimits.h>
#include <glslang/Public/ShaderLang.h>

#include <regex>

namespace {

// glslang's default version is OpenGL ES 1.00 unless a desktop one is given.
constexpr int kDefaultVersion = 110;

// glslang closes every failed compile with a line of its own that says
// nothing about the source.
bool saysSomething(const LogMessage& message) {
    static const std::regex kClosing(R"(^\s*'' : compilation terminated\s*$|^\d+ compilation errors?\..*$)");
    return message.severity == "error" && !std::regex_match(message.text, kClosing);
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
