// On Windows the C runtime enters WinMain itself, so nothing of ours runs
// before it but static initialisation. GLUT must be started before its first
// geometry or font routine, which comes in the Application constructor, so
// it is started here, during static initialisation, through the same
// startGlut() that the Linux main() calls before WinMain. Nothing else in
// static initialisation uses GLUT, so the order among those initialisers
// does not matter.

#include "platform/glut_startup.h"

namespace {

const bool glutStarted = (startGlut(), true);

}  // namespace
