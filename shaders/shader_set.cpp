#include "shaders/shader_set.h"

namespace {

const char kToonVertexPath[] = "resources/shaders/testVertex.txt";
const char kToonFragmentPath[] = "resources/shaders/testFragment.txt";
const char kEdgeVertexPath[] = "resources/shaders/edgeVertex.txt";
const char kEdgeFragmentPath[] = "resources/shaders/edgeFragment.txt";

}  // namespace

ShaderSet::ShaderSet() : currentMode(kFixedPipelineMode) {}

// The toon program is built before the edge program; the fixed pipeline is in
// use when the first frame is drawn.
void ShaderSet::loadPrograms() {
    currentMode = kFixedPipelineMode;
    ShaderProgram fixedPipeline(kFixedPipelineMode, "", "");
    ShaderProgram toon(kToonMode, kToonVertexPath, kToonFragmentPath);
    ShaderProgram edge(kEdgeMode, kEdgeVertexPath, kEdgeFragmentPath);
    programs.push_back(fixedPipeline);
    programs.push_back(toon);
    programs.push_back(edge);
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
    const GLint location = glGetUniformLocation(program, "CAMERA_POSITION");
    glUniform3fv(location, 1, position);
}
