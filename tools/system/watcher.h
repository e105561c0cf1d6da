// Waiting for changes to a set of files, seen through their folders, so that
// an editor that saves by writing a new file and renaming it over the old one
// is followed too. Linux: inotify (watcher_posix.cpp); Windows:
// ReadDirectoryChangesW (watcher_windows.cpp).
#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

// An editor's save may be several steps (write a new file, rename the old
// one away, rename the new one in); a change counts once its folder has been
// quiet this long, so the check runs once, on the finished file.
constexpr int kSettleMilliseconds = 100;

class FolderWatch {
public:
    FolderWatch();
    ~FolderWatch();
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    // Watches the folders of `files`, paths as the user gave them, instead of
    // the files watched before; returns an empty text or why not.
    std::string watch(const std::vector<std::string>& files);

    // Blocks until a watched file changed and its folder has been quiet for a
    // moment (true, with the files added to `changed`), or until waiting
    // failed (false).
    bool waitForChange(std::set<std::string>& changed);

private:
    struct State;
    std::unique_ptr<State> state_;
};
