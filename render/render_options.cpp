#include "render/render_options.h"

// Created during static initialisation, before the entry point runs, and never freed.
RenderOptions* options = new RenderOptions();

void copyDebugSwitches(const RenderOptions& from, RenderOptions& to) {
    for (const DebugSwitch& debugSwitch : kDebugSwitches) to.*debugSwitch.flag = from.*debugSwitch.flag;
}
