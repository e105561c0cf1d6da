#include "tools/system/std_streams.h"

#include <fcntl.h>
#include <unistd.h>

bool secureStandardStreams() {
    bool outputWritable = false;
    for (int descriptor = STDIN_FILENO; descriptor <= STDERR_FILENO; ++descriptor) {
        const int flags = fcntl(descriptor, F_GETFL);
        if (flags >= 0) {
            if (descriptor == STDOUT_FILENO) outputWritable = (flags & O_ACCMODE) != O_RDONLY;
            continue;
        }
        // open gives the lowest free descriptor, which is this one: the lower
        // ones are open by now.
        const int null = open("/dev/null", descriptor == STDIN_FILENO ? O_RDONLY : O_WRONLY);
        if (null >= 0 && null != descriptor) {
            dup2(null, descriptor);
            close(null);
        }
    }
    return outputWritable;
}

void makeStandardOutputBinary() {}
