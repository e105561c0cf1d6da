// The three shading modes and the one that is active.
#pragma once

#include <string>
#include <vector>

#include "geometry/vector3.h"
#include "shaders/shader_program.h"

// The uniform every program may declare to receive the camera's eye
// position: the one uniform the viewer sets.
constexpr char kCameraPositionUniform[] = "CAMERA_POSITION";

// Where the viewer reads its data: relative to the working directory.
constexpr char kResourcesFolder[] = "resources";

// The source files of each shader mode's program, below the data folder,
// in the order the programs are built.
struct ProgramFiles {
    ShaderMode mode;
    const char* vertex;
    const char* fragment;
};
constexpr ProgramFiles kProgramFiles[] = {
    {kToonMode, "/shaders/testVertex.txt", "/shaders/testFragment.txt"},
    {kEdgeMode, "/shaders/edgeVertex.txt", "/shaders/edgeFragment.txt"},
};

class ShaderSet {
public:
    ShaderSet();

    // The sources are read from `resources`/shaders, through `reader` when
    // one is given (render/scene_reader.h); an observer is told about each
    // program built (shaders/shader_build.h).
    void loadPrograms(const std::string& resources = kResourcesFolder,
                      const ShaderBuildObserver& observer = nullptr, SceneReader* reader = nullptr);
    void setMode(int id);
    GLuint currentProgram();

    // Puts `program` in the place of the first entry of its mode (after the
    // others when there is none), in use at once if its mode is active, and
    // deletes the OpenGL program and shaders it replaces.
    void replace(const ShaderProgram& program);

    ShaderMode currentMode;
    std::vector<ShaderProgram> programs;
};

// Hands the eye position, in single precision, to the program's
// kCameraPositionUniform.
void setCameraPosition(GLuint program, const Vector3& eye);
