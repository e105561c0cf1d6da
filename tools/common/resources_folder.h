// Where a tool finds the viewer's data (the texture and the shader sources)
// when it is not started from the folder that holds resources/.
#pragma once

#include <string>

// The resources folder: `given` when it is not empty (it names the folder
// itself); otherwise ./resources, as the viewer reads it; otherwise the copy
// installed with the program; otherwise the repository's copy, when the
// program runs from a build folder inside the repository. The last two are
// found from the executable's own place, so a moved tree still works.
// Returns an empty string when none is found, with one line in `problem`
// naming where it looked.
std::string findResourcesFolder(const std::string& given, std::string& problem);
