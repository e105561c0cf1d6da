#include "tools/system/display.h"

#include "platform/linux/display.h"

void requireGlutDisplay() { platform::requireDisplay(); }
