// A stack deep enough for the OpenGL driver's compiler.
#pragma once

// Drivers compile an expression by recursing once per operand: Mesa needs
// about 10 MiB for one sum of 20,000 terms, more than the usual 8 MiB. When
// the stack limit is below kToolStackBytes and may be raised, raises it and
// starts the program again in place (the main thread's stack is laid out at
// start-up); otherwise returns and the tool runs with the stack it has.
// Threads keep their usual stacks.
void ensureLargeStack(char** argv);
