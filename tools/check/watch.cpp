#include "tools/check/watch.h"

#include <ctime>
#include <set>

#include "tools/system/signals.h"
#include "tools/system/watcher.h"

namespace {

std::string now() {
    const std::time_t seconds = std::time(nullptr);
    char text[16];
    std::strftime(text, sizeof text, "%H:%M:%S", std::localtime(&seconds));
    return text;
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
        if (!folders.waitForChange(changed)) return 0;
        out << '[' << now() << "] " << joined(changed) << " changed" << std::endl;
    }
}
