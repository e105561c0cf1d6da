// The files the scene reads while a tool builds it (shader sources, the
// stripes texture), each read through one descriptor, and what each gave.
// The viewer reads the same files by name; the tools must not wait on a pipe
// swapped in between, nor explain a file by a second look at its name.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct SceneInput {
    std::string path;     // as the scene names it, relative to the working directory
    std::string problem;  // why it could not be read; empty when it was
    bool empty = false;   // read, and held nothing
    bool holdsNul = false;  // read, and holds a NUL byte, where the driver stops reading
};

// Runs `build` with the tools' readers in place of the viewer's, then returns
// to the viewer's. While a shader source is read and compiled, a crash names
// it, with `shownFolder` in front as the report shows it. What was read is
// kept until the next call.
void readSceneInputs(const std::function<void()>& build, const std::string& shownFolder = "");

// Every file the last build read, in order, once each.
const std::vector<SceneInput>& sceneInputs();

// One plain line on why the file gave the driver no text: it cannot be read,
// is empty, or starts with a NUL.
std::string whyNothingRead(const std::string& path);

// Where the driver stopped reading a file that holds a NUL after some text
// (`textBeforeNul`, what the driver was given): the 1-based line and column
// of the NUL. False when the file holds none.
bool findNulStop(const std::string& path, const std::string& textBeforeNul, int& line, int& column);
