// The files the scene reads while a tool builds it (shader sources, the
// stripes texture), each read through one descriptor, and what each gave.
// The viewer reads the same files by name; the tools must not wait on a pipe
// swapped in between, nor explain a file by a second look at its name.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "render/scene_reader.h"

struct SceneInput {
    std::string path;     // as the scene names it, relative to the working directory
    std::string problem;  // why it could not be read; empty when it was
    bool empty = false;   // read, and held nothing
    bool holdsNul = false;  // read, and holds a NUL byte, where the driver stops reading
};

// The reader a tool passes to the scene's build (render/scene_reader.h).
class SceneInputs : public SceneReader {
public:
    // While a shader source is read and compiled, a crash names it, with
    // `shownFolder` in front as the report shows it.
    explicit SceneInputs(std::string shownFolder = "");
    SceneInputs(const SceneInputs&) = delete;
    SceneInputs& operator=(const SceneInputs&) = delete;

    // Runs `build`, which is to pass this reader to what it builds, after
    // forgetting what the last build read. Once it returns, a crash no
    // longer names a file.
    void read(const std::function<void()>& build);

    std::string readSource(const std::string& path) override;
    bool readRawImage(const std::string& fileName, std::vector<unsigned char>& pixels) override;

    // Every file the last build read, in order, once each.
    const std::vector<SceneInput>& files() const { return files_; }

    // One plain line on why the file gave the driver no text: it cannot be
    // read, is empty, or starts with a NUL.
    std::string whyNothingRead(const std::string& path) const;

    // Where the driver stopped reading a file that holds a NUL after some
    // text (`textBeforeNul`, what the driver was given): the 1-based line and
    // column of the NUL. False when the file holds none.
    bool findNulStop(const std::string& path, const std::string& textBeforeNul, int& line, int& column) const;

private:
    const SceneInput* find(const std::string& path) const;
    SceneInput& remember(const std::string& path);

    std::string shownFolder_;
    std::vector<SceneInput> files_;
};
