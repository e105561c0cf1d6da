#include "tools/check/watch.h"

#include <poll.h>

#include <cerrno>
#include <chrono>
#include <ctime>
#include <set>

#include "tools/system/signals.h"
#include "tools/watch/folder_watch.h"

namespace {

std::string now() {
    const std::time_t seconds = std::time(nullptr);
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[16];
    std::strftime(text, sizeof text, "%H:%M:%S", &local);
    return text;
}

// Blocks until a watched file changed and the burst of changes settled
// (true), or waiting failed (false).
bool waitForChange(FolderWatch& folders, std::set<std::string>& changed) {
    pollfd waited = {folders.descriptor(), POLLIN, 0};
    ChangeBurst burst;
    std::set<std::string> vanished;
    for (;;) {
        int timeout = -1;
        if (burst.pending()) {
            const auto wait = burst.untilSettled(ChangeBurst::Clock::now());
            if (wait == ChangeBurst::Clock::duration::zero()) return true;
            timeout = static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(wait).count());
        }
        const int ready = poll(&waited, 1, timeout);
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0) return false;
        burst.noteChange(folders.collect(changed, vanished), ChangeBurst::Clock::now());
    }
}

std::string joined(const std::set<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
    return text;
}

}  // namespace

int watchAndCheck(const std::function<std::vector<std::string>()>& check, std::ostream& out,
                  std::ostream& err) {
    // A stop ends the process at once, even in the middle of a check the
    // driver takes long over; everything printed is flushed before a wait.
    endOnStopSignals();
    FolderWatch folders;

    out << '[' << now() << "] checking\n";
    for (bool first = true;; first = false) {
        const std::string problem = folders.watch(check());
        if (!problem.empty()) {
            err << "verrine-check: " << problem << '\n';
            return 2;
        }
        if (first) out << '[' << now() << "] watching for changes; Ctrl-C stops" << std::endl;
        out.flush();
        std::set<std::string> changed;
        if (!waitForChange(folders, changed)) return 0;
        out << '[' << now() << "] " << joined(changed) << " changed" << std::endl;
    }
}
