// Clocks and counters of this process that the benchmark reports: wall and
// CPU time, the time since the process started, and its peak resident memory.
#pragma once

#include <string>

// Monotonic wall-clock seconds from an arbitrary origin.
double wallSeconds();
// CPU seconds of every thread of the process, Mesa's rasteriser threads included.
double processCpuSeconds();
// CPU seconds of the calling thread alone: the viewer's own work and the GL
// front end that runs on it.
double threadCpuSeconds();

// Seconds since the kernel started this process (its exec), from the start
// time in /proc/self/stat. That start time counts whole clock ticks (10 ms
// on Linux), truncated, so the result may be up to one tick too large.
// Negative when /proc cannot be read.
double secondsSinceProcessStart();

// The start time field of a /proc/<pid>/stat line, in clock ticks since
// boot; -1 when the line is malformed. The command name in parentheses may
// itself hold spaces and parentheses, so fields are counted after the last ')'.
long long startTicksFromStatLine(const std::string& line);

// Peak resident set size of the process so far, in MiB (getrusage ru_maxrss).
double peakResidentMiB();
