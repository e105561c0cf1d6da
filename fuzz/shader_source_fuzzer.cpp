// Any bytes as a shader source file: readSource must return every line with
// exactly one LF, never more than the file held plus one LF, and never crash.

#include "render/render_options.h"
#include "fuzz/fuzz_file.h"
#include "shaders/diagnostic.h"
#include "shaders/shader_program.h"

namespace {
void discard(const std::string&, const std::string&) {}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    setDiagnosticSink(discard);
    const std::string source = ShaderProgram::readSource(writeFuzzFile(data, size));

    if (size == 0 && !source.empty()) __builtin_trap();
    if (source.size() > size + 1) __builtin_trap();
    if (!source.empty() && source.back() != '\n') __builtin_trap();
    // Nothing but a CR before an LF is ever dropped.
    std::size_t kept = 0;
    for (char c : source) kept += (c != '\n' && c != '\r');
    std::size_t given = 0;
    for (std::size_t i = 0; i < size; ++i) given += (data[i] != '\n' && data[i] != '\r');
    if (kept != given) __builtin_trap();
    return 0;
}
