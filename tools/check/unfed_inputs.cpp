#include "tools/check/unfed_inputs.h"

#include "tools/shader_report/glsl_source.h"

#include <algorithm>
#include <string>
#include <vector>

#include "shaders/shader_set.h"

namespace {

struct ActiveInput {
    std::string name;  // without an array index or struct member
    GLenum type;
};

// The names a driver lists are "name", "name[0]" or "name.member"; the
// declaration names the first part.
std::string declaredName(const std::string& listed) {
    return listed.substr(0, listed.find_first_of("[."));
}

std::vector<ActiveInput> activeInputs(GLuint program, bool attributes) {
    GLint count = 0;
    GLint longest = 0;
    glGetProgramiv(program, attributes ? GL_ACTIVE_ATTRIBUTES : GL_ACTIVE_UNIFORMS, &count);
    glGetProgramiv(program, attributes ? GL_ACTIVE_ATTRIBUTE_MAX_LENGTH : GL_ACTIVE_UNIFORM_MAX_LENGTH,
                   &longest);
    std::vector<ActiveInput> inputs;
    std::vector<GLchar> name(static_cast<size_t>(std::max(longest, 1)), '\0');
    for (GLint i = 0; i < count; ++i) {
        GLint size = 0;
        GLenum type = 0;
        GLsizei length = 0;
        if (attributes) {
            glGetActiveAttrib(program, i, longest, &length, &size, &type, name.data());
        } else {
            glGetActiveUniform(program, i, longest, &length, &size, &type, name.data());
        }
        const std::string base = declaredName(std::string(name.data(), length));
        // Built-in state (gl_ModelViewMatrix, gl_Vertex, ...) is what the viewer feeds.
        if (base.rfind("gl_", 0) == 0) continue;
        const bool listed = std::any_of(inputs.begin(), inputs.end(),
                                        [&](const ActiveInput& input) { return input.name == base; });
        if (!listed) inputs.push_back({base, type});
    }
    return inputs;
}

bool isSampler(GLenum type) {
    switch (type) {
    case GL_SAMPLER_1D: case GL_SAMPLER_2D: case GL_SAMPLER_3D: case GL_SAMPLER_CUBE:
    case GL_SAMPLER_1D_SHADOW: case GL_SAMPLER_2D_SHADOW: case GL_SAMPLER_2D_RECT:
    case GL_SAMPLER_2D_RECT_SHADOW: case GL_SAMPLER_1D_ARRAY: case GL_SAMPLER_2D_ARRAY:
    case GL_SAMPLER_CUBE_SHADOW: case GL_SAMPLER_BUFFER: case GL_INT_SAMPLER_2D:
    case GL_UNSIGNED_INT_SAMPLER_2D:
        return true;
    default:
        return false;
    }
}

// Why the viewer leaves a uniform unfed, or an empty text when it feeds it.
std::string unfedUniform(const ActiveInput& uniform) {
    const std::string quoted = "uniform '" + uniform.name + "'";
    if (uniform.name == kCameraPositionUniform) {
        if (uniform.type == GL_FLOAT_VEC3) return "";
        return quoted + " is never set: the viewer sets it as a vec3, and it is declared as another type";
    }
    if (uniform.type == GL_SAMPLER_2D) return "";
    if (isSampler(uniform.type)) {
        return quoted + " reads texture unit 0, where the viewer binds only the 2D stripes texture; "
                        "a sampler of another kind finds no texture there";
    }
    return quoted + " is never set, so it stays zero: the viewer sets only " + kCameraPositionUniform +
           " (use the built-in state, such as gl_ModelViewMatrix, instead)";
}

std::string unfedAttribute(const ActiveInput& attribute) {
    return "attribute '" + attribute.name + "' is never fed: the viewer draws with the built-in "
           "attributes only (gl_Vertex, gl_Normal, gl_Color, gl_MultiTexCoord0)";
}

// Puts the warning on the first of `files` that declares the name, or on
// the first file without a place when none does (a macro may hide it).
void warnAtDeclaration(const std::vector<FileReport*>& files, const std::vector<std::string>& qualifiers,
                       const std::string& name, const std::string& message) {
    for (FileReport* file : files) {
        int line = 0;
        int column = 0;
        if (findDeclaration(file->source, qualifiers, name, line, column)) {
            file->diagnostics.push_back({file->path, line, column, "warning", message});
            return;
        }
    }
    files.front()->diagnostics.push_back({files.front()->path, 0, 0, "warning", message});
}

// The new warnings of a file in the order of its lines, after what the
// driver said about it.
void sortFrom(size_t first, FileReport& file) {
    std::stable_sort(file.diagnostics.begin() + static_cast<std::ptrdiff_t>(first), file.diagnostics.end(),
                     [](const SourceDiagnostic& a, const SourceDiagnostic& b) {
                         return a.line != b.line ? a.line < b.line : a.column < b.column;
                     });
}

}  // namespace

void addUnfedInputWarnings(GLuint program, ProgramReport& report) {
    const size_t vertexBefore = report.vertex.diagnostics.size();
    const size_t fragmentBefore = report.fragment.diagnostics.size();
    for (const ActiveInput& uniform : activeInputs(program, false)) {
        const std::string message = unfedUniform(uniform);
        if (message.empty()) continue;
        warnAtDeclaration({&report.vertex, &report.fragment}, {"uniform"}, uniform.name, message);
    }
    // GLSL 1.30 and later spell a vertex attribute "in".
    for (const ActiveInput& attribute : activeInputs(program, true)) {
        warnAtDeclaration({&report.vertex}, {"attribute", "in"}, attribute.name, unfedAttribute(attribute));
    }
    sortFrom(vertexBefore, report.vertex);
    sortFrom(fragmentBefore, report.fragment);
}
