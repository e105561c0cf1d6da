#include "tools/system/shader_cache.h"

#include <errno.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

constexpr char kPrefix[] = "verrine-shaders-";  // then the process id, a dash and six letters

// Removes the folders of runs that ended without removing theirs (killed,
// say): those whose process no longer exists.
void removeLeftFolders(const fs::path& temporary) {
    std::error_code ignored;
    for (const fs::directory_entry& entry : fs::directory_iterator(temporary, ignored)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(kPrefix, 0) != 0) continue;
        const long owner = std::strtol(name.c_str() + sizeof kPrefix - 1, nullptr, 10);
        if (owner > 0 && kill(static_cast<pid_t>(owner), 0) != 0 && errno == ESRCH) {
            fs::remove_all(entry.path(), ignored);
        }
    }
}

}  // namespace

PrivateShaderCache::PrivateShaderCache() {
    std::error_code ignored;
    const fs::path temporary = fs::temp_directory_path(ignored);
    removeLeftFolders(temporary);
    std::string folder = (temporary / (kPrefix + std::to_string(getpid()) + "-XXXXXX")).string();
    if (mkdtemp(folder.data()) != nullptr) {
        folder_ = folder;
        setenv("MESA_SHADER_CACHE_DIR", folder_.c_str(), 1);
    } else {
        // No folder of its own: no cache rather than one shared with others.
        setenv("MESA_SHADER_CACHE_DISABLE", "true", 1);
    }
}

PrivateShaderCache::~PrivateShaderCache() {
    std::error_code ignored;
    if (!folder_.empty()) fs::remove_all(folder_, ignored);
}
