#include "tools/system/large_stack.h"

#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>

namespace {

// Six times what the 20,000-term sum needs: Mesa's compiler then takes sums
// of 80,000 terms, and a deeper one still ends within about two seconds and
// touches at most this much memory before the crash is reported.
constexpr rlim_t kToolStackBytes = 64u << 20;
// What the other threads (the driver's) get, as with the usual limit.
constexpr size_t kThreadStackBytes = 8u << 20;

}  // namespace

void ensureLargeStack(char** argv) {
    rlimit limit{};
    if (getrlimit(RLIMIT_STACK, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return;
    if (limit.rlim_cur >= kToolStackBytes || limit.rlim_cur >= limit.rlim_max) {
        // Threads take the stack limit as their default size: keep theirs
        // usual, so a raised limit does not multiply the address space.
        pthread_attr_t attributes;
        if (pthread_attr_init(&attributes) == 0) {
            pthread_attr_setstacksize(&attributes, kThreadStackBytes);
            pthread_setattr_default_np(&attributes);
            pthread_attr_destroy(&attributes);
        }
        return;
    }
    limit.rlim_cur = limit.rlim_max == RLIM_INFINITY ? kToolStackBytes : std::min(kToolStackBytes, limit.rlim_max);
    if (setrlimit(RLIMIT_STACK, &limit) != 0) return;
    execv("/proc/self/exe", argv);
    // Not started again: carry on with the stack there is.
}
