// The standard streams of a tool, made safe before anything else opens a
// file or a connection.
#pragma once

// Opens each of standard input, output and error that the caller left closed
// on the null device, so that no file or connection the tool opens later can
// take its place (a picture written to "standard output" would otherwise go
// to whatever took descriptor 1, such as the X server's socket). Returns
// whether standard output was open for writing before that.
bool secureStandardStreams();

// Makes standard output binary, so that a picture written there keeps every
// byte: Windows would turn each LF byte into CR LF. Linux has nothing to do.
void makeStandardOutputBinary();
