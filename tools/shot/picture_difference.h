// How far a picture strays from a reference of the same size.
#pragma once

#include "tools/shot/png_file.h"

struct PictureDifference {
    int differingPixels = 0;
    // The reference faded towards white, with the differing pixels in
    // magenta: where to look, at a glance.
    Picture picture;
};

// A pixel differs when one of its channels differs by more than `fuzz`
// levels. Both pictures must have the same size.
PictureDifference comparePictures(const Picture& actual, const Picture& reference, int fuzz);
