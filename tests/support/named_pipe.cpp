#include "tests/support/named_pipe.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <future>

bool makeNamedPipe(const std::string& path) { return mkfifo(path.c_str(), 0600) == 0; }

bool finishesWithoutAWriter(const std::string& pipePath, const std::function<void()>& read) {
    std::future<void> reading = std::async(std::launch::async, read);
    if (reading.wait_for(std::chrono::seconds(2)) == std::future_status::ready) {
        reading.get();
        return true;
    }
    const int writer = open(pipePath.c_str(), O_WRONLY);
    if (writer >= 0) close(writer);
    reading.get();
    return false;
}
