#include "tools/system/file_replace.h"

#include <filesystem>

namespace fs = std::filesystem;

// The same on every system: paths are UTF-8, which u8path hands to the
// system's own calls.
std::string unwritableOutput(const std::string& path) {
    std::error_code error;
    const fs::file_status status = fs::status(fs::u8path(path), error);
    if (!fs::exists(status)) return "";
    if (fs::is_directory(status)) return "cannot write " + path + ": it is a folder";
    if (!fs::is_regular_file(status)) {
        return "cannot write " + path + ": it is not a regular file (- writes the picture to standard output)";
    }
    if (fs::hard_link_count(fs::u8path(path), error) > 1 && !error) {
        return "cannot write " + path + ": it has other hard links, which a new file would leave holding "
               "the old content; remove it first or write elsewhere";
    }
    return "";
}
