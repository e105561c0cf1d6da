#include "tools/shot/picture_difference.h"

#include <cstdlib>

PictureDifference comparePictures(const Picture& actual, const Picture& reference, int fuzz) {
    PictureDifference difference;
    difference.picture = {reference.width, reference.height, reference.rgb};
    std::vector<unsigned char>& shown = difference.picture.rgb;
    for (size_t pixel = 0; pixel + 2 < shown.size(); pixel += 3) {
        bool differs = false;
        for (size_t channel = pixel; channel < pixel + 3; ++channel) {
            differs = differs || std::abs(actual.rgb[channel] - reference.rgb[channel]) > fuzz;
        }
        if (differs) {
            ++difference.differingPixels;
            shown[pixel] = 255;
            shown[pixel + 1] = 0;
            shown[pixel + 2] = 255;
        } else {
            for (size_t channel = pixel; channel < pixel + 3; ++channel) {
                shown[channel] = static_cast<unsigned char>(160 + shown[channel] / 4);
            }
        }
    }
    return difference;
}
