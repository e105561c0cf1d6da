#include "tools/common/resources_folder.h"

#include <filesystem>

#include "shaders/shader_set.h"
#include "tools/system/program_folder.h"

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
fs::path repositoryCopy(const fs::path& start) {
    for (fs::path folder = start; !folder.empty(); folder = folder.parent_path()) {
        if (isFile(folder / "CMakeLists.txt") && isFolder(folder / kResourcesFolder)) return folder / kResourcesFolder;
        if (folder == folder.root_path()) break;
    }
    return fs::path();
}

}  // namespace

std::string findResourcesFolder(const std::string& given, std::string& problem) {
    if (!given.empty()) {
        if (isFolder(fs::u8path(given))) return given;
        problem = "no resources folder " + given;
        return "";
    }
    if (isFolder(kResourcesFolder)) return kResourcesFolder;

    const fs::path folder = programFolder();
    const bool known = !folder.empty();
    // VERRINE_BIN_TO_RESOURCES: the install layout's path from the programs'
    // folder to the data folder, relative, so the prefix can be anything.
    const fs::path installed = (folder / fs::u8path(VERRINE_BIN_TO_RESOURCES)).lexically_normal();
    if (known && isFolder(installed)) return installed.u8string();
    const fs::path repository = known ? repositoryCopy(folder) : fs::path();
    if (!repository.empty()) return repository.u8string();

    problem = std::string("no resources folder: looked in ./") + kResourcesFolder + ", " + installed.u8string() +
              " and the folders above " + folder.u8string() + "; name one with --resources DIR";
    return "";
}
