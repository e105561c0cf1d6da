// The traps shaders from elsewhere fall into, each told where it shows:
//   - a note under the driver's error for GLSL 1.10's missing int-to-float
//     conversion, texture() against texture2D(), global in/out against
//     attribute/varying, and a gl_FragColor the GLSL in use does not have;
//   - a warning where gl_LightSource[i].position is taken as a direction:
//     the viewer's light is positional, inside the scene, and such a shader
//     draws its objects dark.
#pragma once

#include "tools/shader_report/build_report.h"

void addTrapNotes(ProgramReport& program);
