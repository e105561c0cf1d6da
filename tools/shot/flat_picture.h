// A picture that shows nothing of the scene: one flat colour, or under 1 % of
// its pixels differing from the background the viewer clears to. Such a
// picture usually comes from a program that reads what the viewer never
// feeds, and the check's warnings say which.
#pragma once

#include <string>

#include "tools/shader_report/build_report.h"
#include "tools/shot/png_file.h"

// The warning about `picture`, without the tool's name, or an empty text when
// the picture shows something. `background` is the clear colour as 8-bit
// RGB. `report` is the report on the program drawn, null for the fixed
// pipeline: its first warning is named as the likely cause.
std::string flatPictureWarning(const Picture& picture, const unsigned char (&background)[3],
                               const ProgramReport* report);
