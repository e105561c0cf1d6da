// Clocks and counters of this process that the benchmark reports: wall and
// CPU time, and its peak resident memory.
#pragma once

// Monotonic wall-clock seconds. The clock is the system's, not the
// process's: readings taken in two processes can be subtracted.
double wallSeconds();
// CPU seconds of every thread of the process, Mesa's rasteriser threads included.
double processCpuSeconds();
// CPU seconds of the calling thread alone: the viewer's own work and the GL
// front end that runs on it.
double threadCpuSeconds();

// Seconds the calling thread has spent ready to run while other threads had
// the processors, since the thread was created (the kernel's schedstat); 0
// where the kernel does not count it. On a busy machine this is what other
// load adds to the thread's wall time.
double processorWaitSeconds();

// Peak resident set size of the program since its exec, in MiB; negative
// when /proc cannot be read.
double peakResidentMiB();
