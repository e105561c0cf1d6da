// Reads of a named pipe that must not wait for a writer: a data file that is
// a pipe (or a device) has to be refused, not waited on.
#pragma once

#include <functional>
#include <string>

// Makes a named pipe at `path`; false if the system refuses.
bool makeNamedPipe(const std::string& path);

// Runs `read` on a thread of its own and reports whether it finished within
// two seconds. If not, it is waiting for a writer: the pipe is opened for
// writing and closed again, which ends the wait, so the test can go on and
// report the failure instead of hanging.
bool finishesWithoutAWriter(const std::string& pipePath, const std::function<void()>& read);
