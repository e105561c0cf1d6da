#include "tools/shot/shot_inputs.h"

#include <vector>

#include "tools/system/input_file.h"

std::string differencePath(const std::string& output) {
    const std::string extension = ".png";
    const bool hasExtension = output.size() > extension.size() &&
                              output.compare(output.size() - extension.size(), extension.size(), extension) == 0;
    return (hasExtension ? output.substr(0, output.size() - extension.size()) : output) + ".diff.png";
}

std::string overwrittenInput(const ShotOptions& shot, const std::vector<SceneInput>& sceneFiles) {
    if (shot.toStandardOutput()) return "";
    std::vector<std::string> inputs;
    for (const SceneInput& input : sceneFiles) inputs.push_back(input.path);
    for (const std::string& given : {shot.comparePath, shot.pair.vertexPath, shot.pair.fragmentPath}) {
        if (!given.empty()) inputs.push_back(given);
    }
    std::vector<std::string> outputs = {shot.output};
    if (!shot.comparePath.empty()) outputs.push_back(differencePath(shot.output));
    for (const std::string& output : outputs) {
        for (const std::string& input : inputs) {
            if (!sameFile(output, input)) continue;
            const std::string what = input == shot.comparePath ? "the reference, " : "";
            return "cannot write " + output + ": it is " + what + input + ", which this run reads";
        }
    }
    return "";
}
