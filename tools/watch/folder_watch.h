// Watching files for saves, shared by verrine-check --watch and
// verrine-live: the kernel tells of changes in the files' folders (inotify),
// so an editor that saves by writing a new file and renaming it over the old
// one is seen too, and a burst of changes is settled into one.
#pragma once

#include <chrono>
#include <map>
#include <set>
#include <string>
#include <vector>

// What the last change taken says of a watched file: a file written and
// closed, or renamed into place, is whole; one created, removed or renamed
// away may be a step of a save that goes on.
enum class FileChange { None, Partial, Whole };

class FolderWatch {
public:
    FolderWatch();
    ~FolderWatch();
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    // Readable while changes wait; reading it never blocks.
    int descriptor() const { return notify_; }

    // Watches the folders of `files` (forgetting the files watched before);
    // returns an empty text or why not.
    std::string watch(const std::vector<std::string>& files);

    // Takes every change waiting, without blocking: adds the watched files
    // they concern to `changed`, each as given to watch(), and each watched
    // folder that went away to `vanished` (its files to `changed` as well:
    // they are gone too). Returns what the last change to a watched file
    // says of it; None when no watched file changed.
    FileChange collect(std::set<std::string>& changed, std::set<std::string>& vanished);

private:
    struct Folder {
        std::string folder;
        std::map<std::string, std::string> files;  // by name in the folder
    };
    int notify_;
    std::map<int, Folder> folders_;
};

// When a burst of changes is over. An editor's save may be several steps
// (rename the old file away, write the new one), so a burst counts as
// settled once the files have been quiet for a moment: a short one after a
// whole file, a longer one after a step that may be followed by more; and,
// so that a stream of saves still shows its progress, at the latest a while
// after it began: while saves keep coming, at most once in that while.
class ChangeBurst {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kQuietAfterWhole{20};
    static constexpr std::chrono::milliseconds kQuietAfterPartial{100};
    static constexpr std::chrono::milliseconds kLongest{200};

    void noteChange(FileChange change, Clock::time_point now);
    bool pending() const { return pending_; }
    // How long from `now` until the burst is settled: zero when it is; only
    // meaningful while one is pending.
    Clock::duration untilSettled(Clock::time_point now) const;
    // The burst has been acted on; the next change starts a new one.
    void clear() { pending_ = false; }

private:
    bool pending_ = false;
    Clock::time_point first_;
    Clock::time_point settled_;  // when it settles unless another change comes
};
