#include "tools/system/signals.h"

#include <signal.h>
#include <unistd.h>

#include <cstring>

#include "tools/system/crash_report.h"

namespace {

// Big enough for the handler and the write calls it makes.
alignas(16) char alternateStack[64 * 1024];

void writeText(const char* text) {
    ssize_t unused = write(STDERR_FILENO, text, std::strlen(text));
    (void)unused;
}

void onCrash(int) {
    writeCrashReport(writeText);
    _exit(1);
}

void onStop(int signal) {
    if (signal == SIGINT) _exit(0);
    // Dies by the signal itself, as its sender expects.
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    sigaction(signal, &standard, nullptr);
    raise(signal);
}

void handle(int signal, void (*handler)(int), int flags) {
    struct sigaction action {};
    action.sa_handler = handler;
    action.sa_flags = flags;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
}

}  // namespace

void endOnStopSignals() {
    // Also when the parent left them ignored, as a shell does for a job
    // started with &: a stop must always stop.
    handle(SIGINT, onStop, 0);
    handle(SIGTERM, onStop, 0);
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigprocmask(SIG_UNBLOCK, &stopSignals, nullptr);
}

void reportCrashes(const char* tool) {
    rememberCrashingTool(tool);
    stack_t stack{};
    stack.ss_sp = alternateStack;
    stack.ss_size = sizeof alternateStack;
    sigaltstack(&stack, nullptr);
    handle(SIGSEGV, onCrash, SA_ONSTACK);
    handle(SIGBUS, onCrash, SA_ONSTACK);
}
