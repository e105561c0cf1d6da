#include "tools/shader_report/scene_inputs.h"

#include <algorithm>
#include <filesystem>
#include <streambuf>
#include <utility>

#include "shaders/shader_program.h"
#include "tools/system/input_file.h"
#include "tools/system/signals.h"

namespace {

// The file's bytes as a stream, without a copy.
class BytesBuffer : public std::streambuf {
public:
    explicit BytesBuffer(std::string& bytes) { setg(bytes.data(), bytes.data(), bytes.data() + bytes.size()); }
};

}  // namespace

SceneInputs::SceneInputs(std::string shownFolder) : shownFolder_(std::move(shownFolder)) {}

void SceneInputs::read(const std::function<void()>& build) {
    files_.clear();
    build();
    setCompilingFile("");
}

const SceneInput* SceneInputs::find(const std::string& path) const {
    const auto known = std::find_if(files_.begin(), files_.end(),
                                    [&](const SceneInput& input) { return input.path == path; });
    return known == files_.end() ? nullptr : &*known;
}

// A file read again (by a second program) counts once, as last read.
SceneInput& SceneInputs::remember(const std::string& path) {
    SceneInput fresh;
    fresh.path = path;
    for (SceneInput& input : files_) {
        if (input.path == path) return input = fresh;
    }
    files_.push_back(fresh);
    return files_.back();
}

// The viewer's text of the file, from one descriptor.
std::string SceneInputs::readSource(const std::string& path) {
    SceneInput& input = remember(path);
    setCompilingFile(shownFolder_.empty() ? path : (std::filesystem::path(shownFolder_) / path).string());
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
bool SceneInputs::readRawImage(const std::string& fileName, std::vector<unsigned char>& pixels) {
    SceneInput& input = remember(fileName);
    InputFile file(fileName);
    std::fill(pixels.begin(), pixels.end(), 0);
    for (size_t filled = 0; file.problem().empty() && filled < pixels.size();) {
        const long count = file.read(pixels.data() + filled, pixels.size() - filled);
        if (count <= 0) break;
        filled += static_cast<size_t>(count);
    }
    input.problem = file.problem();
    return input.problem.empty();
}

std::string SceneInputs::whyNothingRead(const std::string& path) const {
    if (const SceneInput* input = find(path)) {
        if (!input->problem.empty()) return "cannot read the file: " + input->problem;
        if (input->empty) return "the file is empty";
        return "the file starts with a NUL byte, and the driver reads the text only up to it";
    }
    return "cannot read the file";
}

bool SceneInputs::findNulStop(const std::string& path, const std::string& textBeforeNul, int& line,
                              int& column) const {
    const SceneInput* input = find(path);
    if (input == nullptr || !input->holdsNul) return false;
    line = 1 + static_cast<int>(std::count(textBeforeNul.begin(), textBeforeNul.end(), '\n'));
    const size_t lineStart = textBeforeNul.rfind('\n');
    column = 1 + static_cast<int>(textBeforeNul.size() - (lineStart == std::string::npos ? 0 : lineStart + 1));
    return true;
}
