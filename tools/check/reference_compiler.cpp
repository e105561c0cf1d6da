#include "tools/check/reference_compiler.h"

#include "tools/check/reference_departures.h"

#include <glslang/Public/ResourceLimits.h>
#include <glslang/Public/ShaderLang.h>

namespace {

// glslang's default version is OpenGL ES 1.00 unless a desktop one is given.
constexpr int kDefaultVersion = 110;

// Read before the file, to set glslang up as the driver's compatibility
// context is. That context has rectangle textures without #extension.
// glslang expands __VERSION__, __LINE__ and __FILE__ but does not count them
// as defined, so "#ifndef __VERSION__" would take the wrong branch; defining
// them here changes only that, as glslang expands these three names first.
const char kContext[] =
    "#extension GL_ARB_texture_rectangle : enable\n"
    "#define __VERSION__ 1\n"
    "#define __LINE__ 1\n"
    "#define __FILE__ 1\n";

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
    shader.setPreamble(kContext);
    std::vector<LogMessage> found;
    if (shader.parse(GetDefaultResources(), kDefaultVersion, false, EShMsgDefault)) return found;
    const GlslVersion version = readVersion(source);
    bool departed = false;
    for (const LogMessage& message : parseDriverLog(shader.getInfoLog())) {
        if (!saysSomething(message)) continue;
        if (isKnownDeparture(message, source, version)) {
            departed = true;
        } else {
            found.push_back(message);
        }
    }
    // A rejection always says why; should the log be unreadable, say so.
    if (found.empty() && !departed) found.push_back({0, 0, "error", "rejected without a message"});
    return found;
}
