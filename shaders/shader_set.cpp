#include "shaders/shader_set.h"

namespace {

// The shaders a replaced program leaves attached, which would otherwise
// outlive it.
void deleteProgramAndShaders(GLuint program) {
    GLuint shaders[2] = {0, 0};
    GLsizei count = 0;
    glGetAttachedShaders(program, 2, &count, shaders);
    for (GLsizei i = 0; i < count; ++i) glDeleteShader(shaders[i]);
    glDeleteProgram(program);
}

}  // namespace

ShaderSet::ShaderSet() : currentMode(kFixedPipelineMode) {}

// The toon program is built before the edge program; the fixed pipeline is in
// use when the first frame is drawn.
void ShaderSet::loadPrograms(const std::string& resources, const ShaderBuildObserver& observer,
                             SceneReader* reader) {
    currentMode = kFixedPipelineMode;
    programs.push_back(ShaderProgram(kFixedPipelineMode, "", ""));
    for (const ProgramFiles& files : kProgramFiles) {
        programs.push_back(
            ShaderProgram(files.mode, resources + files.vertex, resources + files.fragment, observer, reader));
    }
    programs.front().use();
}

// The mode changes even when no entry has the id (a Shader menu id without a
// program): the program in use then stays as it was.
void ShaderSet::setMode(int id) {
    for (ShaderProgram& entry : programs) {
        if (entry.mode == id) {
            entry.use();
            break;
        }
    }
    currentMode = id;
}

void ShaderSet::replace(const ShaderProgram& program) {
    for (ShaderProgram& entry : programs) {
        if (entry.mode != program.mode) continue;
        const GLuint replaced = entry.program;
        entry = program;
        // Deleting a program in use would only defer its deletion.
        if (currentMode == program.mode) entry.use();
        if (replaced != 0 && replaced != program.program) deleteProgramAndShaders(replaced);
        return;
    }
    programs.push_back(program);
    if (currentMode == program.mode) programs.back().use();
}

GLuint ShaderSet::currentProgram() {
    for (const ShaderProgram& entry : programs) {
        if (entry.mode == currentMode) return entry.program;
    }
    return 0;
}

void setCameraPosition(GLuint program, const Vector3& eye) {
    const GLfloat position[3] = {static_cast<GLfloat>(eye.x), static_cast<GLfloat>(eye.y),
                                 static_cast<GLfloat>(eye.z)};
    // Looked up by name every frame, in every mode: in the fixed pipeline the
    // program is 0, the location -1 and the upload has no effect.
    const GLint location = glGetUniformLocation(program, kCameraPositionUniform);
    glUniform3fv(location, 1, position);
}
