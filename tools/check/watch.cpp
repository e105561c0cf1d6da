#include "tools/check/watch.h"

#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <set>

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

// Blocks until a watched file changed and the folder settled (true), or a
// stop signal came (false).
bool waitForChange(FolderWatch& folders, int signals, std::set<std::string>& changed) {
    pollfd waited[2] = {{folders.descriptor(), POLLIN, 0}, {signals, POLLIN, 0}};
    ChangeBurst burst;
    std::set<std::string> vanished;
    for (;;) {
        int timeout = -1;
        if (burst.pending()) {
            const auto wait = burst.untilSettled(ChangeBurst::Clock::now());
            if (wait == ChangeBurst::Clock::duration::zero()) return true;
            timeout = static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(wait).count());
        }
        const int ready = poll(waited, 2, timeout);
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0) return false;
        if (waited[1].revents != 0) return false;
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
    // The stop signals are taken as data from a descriptor rather than in a
    // handler, so that the wait for them and for changes is one poll. A
    // signal its parent left ignored (as a shell does for a job started with
    // &) would never arrive there, so the default is restored first.
    signal(SIGINT, SIG_DFL);
    signal(SIGTERM, SIG_DFL);
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    const int signals = signalfd(-1, &stopSignals, SFD_CLOEXEC);
    if (signals >= 0) sigprocmask(SIG_BLOCK, &stopSignals, nullptr);
    FolderWatch folders;

    out << '[' << now() << "] checking\n";
    for (bool first = true;; first = false) {
        const std::string problem = folders.watch(check());
        if (!problem.empty()) {
            err << "verrine-check: " << problem << '\n';
            return 2;
        }
        if (first) out << '[' << now() << "] watching for changes; Ctrl-C stops" << std::endl;
        std::set<std::string> changed;
        if (!waitForChange(folders, signals, changed)) break;
        out << '[' << now() << "] " << joined(changed) << " changed\n";
    }
    if (signals >= 0) close(signals);
    return 0;
}
