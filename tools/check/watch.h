// Watch mode: a fresh report whenever a checked file changes.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

// Runs `check`, which returns the files it read, then runs it again after
// each change to one of those files, each report headed by the time and what
// changed. Waits in the system between changes and watches the files'
// folders (tools/system/watcher.h), so an editor that saves by writing a new
// file and renaming it over the old one is seen too. Ctrl-C (SIGINT, or the
// console's Ctrl+C on Windows) ends the process with status 0 and SIGTERM as
// a death by that signal, at once, even in the middle of a check
// (tools/system/signals.h); returns 2 when a folder cannot be watched.
int watchAndCheck(const std::function<std::vector<std::string>()>& check, std::ostream& out,
                  std::ostream& err);
