#include "tools/shader_report/scene_inputs.h"

#include <algorithm>
#include <filesystem>
#include <streambuf>

#include "render/texture.h"
#include "shaders/shader_program.h"
#include "tools/system/input_file.h"
#include "tools/system/signals.h"

namespace {

std::vector<SceneInput> inputs;
std::string shownFolder;

// The file's bytes as a stream, without a copy.
class BytesBuffer : public std::streambuf {
public:
    explicit BytesBuffer(std::string& bytes) { setg(bytes.data(), bytes.data(), bytes.data() + bytes.size()); }
};

SceneInput* find(const std::string& path) {
    const auto known = std::find_if(inputs.begin(), inputs.end(),
                                    [&](const SceneInput& input) { return input.path == path; });
    return known == inputs.end() ? nullptr : &*known;
}

// A file read again (by a second program) counts once, as last read.
SceneInput& remember(const std::string& path) {
    SceneInput fresh;
    fresh.path = path;
    SceneInput* known = find(path);
    if (known == nullptr) {
        inputs.push_back(fresh);
        return inputs.back();
    }
    *known = fresh;
    return *known;
}

// The viewer's text of the file, from one descriptor. Called right before
// the driver compiles that text.
std::string readSourceOnce(const std::string& path) {
    SceneInput& input = remember(path);
    setCompilingFile(shownFolder.empty() ? path : (std::filesystem::path(shownFolder) / path).string());
    InputFile file(path);
    std::string bytes;
    if (!file.problem().empty() || !file.readAll(bytes)) {
        input.problem = file.problem();
        return "";
    }
    input.empty = bytes.empty();
    input.holdsNul = bytes.find('\0') != std::string::npos;
    BytesBuffer buffer(bytes);
    std::istream stream(&buffer);
    return readSourceLines(stream);
}

// As readRawImage: black where the file is shorter, the rest ignored.
bool readImageOnce(const std::string& path, std::vector<unsigned char>& pixels) {
    SceneInput& input = remember(path);
    InputFile file(path);
    std::fill(pixels.begin(), pixels.end(), 0);
    for (size_t filled = 0; file.problem().empty() && filled < pixels.size();) {
        const long count = file.read(pixels.data() + filled, pixels.size() - filled);
        if (count <= 0) break;
        filled += static_cast<size_t>(count);
    }
    input.problem = file.problem();
    return input.problem.empty();
}

}  // namespace

void readSceneInputs(const std::function<void()>& build, const std::string& folder) {
    inputs.clear();
    shownFolder = folder;
    const SourceReader previousSource = setSourceReader(readSourceOnce);
    const RawImageReader previousImage = setRawImageReader(readImageOnce);
    build();
    setRawImageReader(previousImage);
    setSourceReader(previousSource);
    setCompilingFile("");
}

const std::vector<SceneInput>& sceneInputs() { return inputs; }

std::string whyNothingRead(const std::string& path) {
    if (const SceneInput* input = find(path)) {
        if (!input->problem.empty()) return "cannot read the file: " + input->problem;
        if (input->empty) return "the file is empty";
        return "the file starts with a NUL byte, and the driver reads the text only up to it";
    }
    return "cannot read the file";
}

bool findNulStop(const std::string& path, const std::string& textBeforeNul, int& line, int& column) {
    const SceneInput* input = find(path);
    if (input == nullptr || !input->holdsNul) return false;
    line = 1 + static_cast<int>(std::count(textBeforeNul.begin(), textBeforeNul.end(), '\n'));
    const size_t lineStart = textBeforeNul.rfind('\n');
    column = 1 + static_cast<int>(textBeforeNul.size() - (lineStart == std::string::npos ? 0 : lineStart + 1));
    return true;
}
