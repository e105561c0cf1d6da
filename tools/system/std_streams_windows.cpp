#include "tools/system/std_streams.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

// A console program started without a console or with a stream closed has
// no handle there (_get_osfhandle is negative): such a stream is opened on
// the null device, as on Linux.
bool secureStandardStreams() {
    const bool outputWritable = _get_osfhandle(1) >= 0;
    for (int descriptor = 0; descriptor <= 2; ++descriptor) {
        if (_get_osfhandle(descriptor) >= 0) continue;
        const int null = _open("NUL", descriptor == 0 ? _O_RDONLY : _O_WRONLY);
        if (null >= 0 && null != descriptor) {
            _dup2(null, descriptor);
            _close(null);
        }
    }
    return outputWritable;
}

void makeStandardOutputBinary() { _setmode(_fileno(stdout), _O_BINARY); }
