// The files a run of verrine-shot writes must never be files it reads.
#pragma once

#include <string>

#include "tools/shader_report/scene_inputs.h"
#include "tools/shot/shot_options.h"

// Where the difference picture goes: OUT.png gives OUT.diff.png.
std::string differencePath(const std::string& output);

// One line when the picture or, with --compare, the difference picture would
// replace a file the run reads (the reference, the pair, and `sceneFiles`,
// what the scene read while it was built), also through a symbolic or hard
// link; an empty text otherwise.
std::string overwrittenInput(const ShotOptions& shot, const std::vector<SceneInput>& sceneFiles);
