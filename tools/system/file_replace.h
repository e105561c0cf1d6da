// Writing a file whole or not at all, over an older one if there is one.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

// One line saying why `path` cannot be replaced by a new file, or an empty
// text. A path that does not exist yet can be written. Refused: a folder, a
// device or a pipe, and a file with other hard links: a new file would part
// it from them, leaving them with the old content, and writing in place
// could leave it half written; the user removes it or writes elsewhere.
std::string unwritableOutput(const std::string& path);

// Writes a temporary file next to the target, with `write` filling it
// (returning an empty text, or why it failed), and renames it over the
// target only when it is complete, so a reader sees the old file or the
// whole new one. A symbolic link is followed: its target gets the new
// content and the link stays. A file replaced keeps its permissions and its
// owner (refused when the owner cannot be kept); a new one is readable by
// all as far as the umask allows. On failure, returns false with one line
// in `problem` and leaves no file behind.
bool replaceFile(const std::string& path, const std::function<std::string(std::FILE*)>& write,
                 std::string& problem);
