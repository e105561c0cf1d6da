// What the colours of the viewer's pictures mean: which pixels belong to
// the background, the grid, the striped teapot and the overlays.
#pragma once

#include "tests/support/image.h"

// The colours the viewer draws, as 8-bit channels.
constexpr Rgb kViewerBackground = {125, 125, 125};    // clear colour 0.49
constexpr Rgb kGridGrey = {94, 94, 94};               // 0.37
constexpr Rgb kLightMarkerYellow = {255, 255, 0};
constexpr Rgb kRotationMarkerPink = {255, 153, 199};  // (1.0, 0.6, 0.78)
constexpr Rgb kAxisGreen = {0, 255, 0};

// Every channel within the tolerance of the expected colour.
bool isNear(Rgb colour, Rgb expected, int tolerance);

// The clear colour, 0.49 grey.
bool isViewerBackground(Rgb colour);
// The base-plane grid, 0.37 grey, drawn unlit.
bool isGridLine(Rgb colour);
// Anything the scene drew: neither background nor grid.
bool isObject(Rgb colour);
// The teapot's red, gold and blue stripes: clearly coloured, unlike the grey
// cube, the grid and the background.
bool isStripeColour(Rgb colour);
// The rotation-point marker's pink cross.
bool isRotationMarkerPink(Rgb colour);
// The light-location marker, yellow.
bool isLightMarkerYellow(Rgb colour);
