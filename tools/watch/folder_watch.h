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
    // they are gone too). Returns whether a watched file changed.
    bool collect(std::set<std::string>& changed, std::set<std::string>& vanished);

private:
    struct Folder {
        std::string folder;
        std::map<std::string, std::string> files;  // by name in the folder
    };
    int notify_;
    std::map<int, Folder> folders_;
};

// When a burst of changes is over. An editor's save may be several steps
// (write a new file, rename the old one away, rename the new one in), so a
// burst counts as settled once the files have been quiet for a moment; and,
// so that a stream of saves still shows its progress, at the latest a while
// after it began: while saves keep coming, at most once in that while.
class ChangeBurst {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kQuiet{50};
    static constexpr std::chrono::milliseconds kLongest{200};

    void noteChange(Clock::time_point now);
    bool pending() const { return pending_; }
    // How long from `now` until the burst is settled: zero when it is; only
    // meaningful while one is pending.
    Clock::duration untilSettled(Clock::time_point now) const;
    // The burst has been acted on; the next change starts a new one.
    void clear() { pending_ = false; }

private:
    bool pending_ = false;
    Clock::time_point first_;
    Clock::time_point last_;
};
