// Where the OpenGL driver keeps the shaders it compiled, for verrine-live.
// Mesa keeps them on disk, and a new program made from an unchanged vertex
// file then needs none of that file's code compiled again: of the six
// pieces llvmpipe compiles for a new program's first frame, a save of the
// fragment file leaves about two. On a hit Mesa skips the compile and with
// it the log, so the cache is a folder of this process's own, empty at the
// start: whatever it skips, this process has compiled, and logged, before.
#pragma once

#include <string>

class PrivateShaderCache {
public:
    // Points the driver at a new folder; before the first OpenGL context.
    // Removes the folders that runs which were killed left behind.
    PrivateShaderCache();
    // Removes the folder and what the driver put in it.
    ~PrivateShaderCache();
    PrivateShaderCache(const PrivateShaderCache&) = delete;
    PrivateShaderCache& operator=(const PrivateShaderCache&) = delete;

private:
    std::string folder_;  // empty where the driver keeps its own
};
