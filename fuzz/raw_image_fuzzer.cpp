// Any bytes as the texture file: the first 4,800 land in the image, black
// fills what a short file lacks, and nothing past the array is touched.

#include <algorithm>
#include <vector>

#include "fuzz/fuzz_file.h"
#include "render/texture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::size_t imageSize = 40 * 40 * 3;
    std::vector<unsigned char> pixels(imageSize, 0xAB);
    if (!readRawImage(writeFuzzFile(data, size), pixels)) __builtin_trap();

    const std::size_t supplied = std::min(size, imageSize);
    if (!std::equal(data, data + supplied, pixels.begin())) __builtin_trap();
    if (std::any_of(pixels.begin() + supplied, pixels.end(), [](unsigned char b) { return b != 0; })) {
        __builtin_trap();
    }
    return 0;
}
