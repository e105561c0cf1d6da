#include "tools/common/resources_folder.h"

#include <filesystem>

#include "shaders/shader_set.h"

namespace {

namespace fs = std::filesystem;

bool isFolder(const fs::path& path) {
    std::error_code unused;
    return fs::is_directory(path, unused);
}

bool isFile(const fs::path& path) {
    std::error_code unused;
    return fs::is_regular_file(path, unused);
}

// The nearest folder above the executable that holds the sources' top-level
// CMakeLists.txt beside resources/: a stray resources/ elsewhere is not it.
fs::path repositoryCopy(const fs::path& programFolder) {
    for (fs::path folder = programFolder; !folder.empty(); folder = folder.parent_path()) {
        if (isFile(folder / "CMakeLists.txt") && isFolder(folder / kResourcesFolder)) return folder / kResourcesFolder;
        if (folder == folder.root_path()) break;
    }
    return fs::path();
}

}  // namespace

std::string findResourcesFolder(const std::string& given, std::string& problem) {
    if (!given.empty()) {
        if (isFolder(given)) return given;
        problem = "no resources folder " + given;
        return "";
    }
    if (isFolder(kResourcesFolder)) return kResourcesFolder;

    std::error_code error;
    const fs::path programFolder = fs::read_symlink("/proc/self/exe", error).parent_path();
    // VERRINE_BIN_TO_RESOURCES: the install layout's path from the programs'
    // folder to the data folder, relative, so the prefix can be anything.
    const fs::path installed = (programFolder / VERRINE_BIN_TO_RESOURCES).lexically_normal();
    if (!error && isFolder(installed)) return installed.string();
    const fs::path repository = error ? fs::path() : repositoryCopy(programFolder);
    if (!repository.empty()) return repository.string();

    problem = std::string("no resources folder: looked in ./") + kResourcesFolder + ", " + installed.string() +
              " and the folders above " + programFolder.string() + "; name one with --resources DIR";
    return "";
}
