#include "app/render_options.h"

// Created during static initialisation, before the entry point runs, and never freed.
RenderOptions* options = new RenderOptions();
