#include "tests/support/reference_image.h"

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// Software rendering gives the same picture on every run on one machine; a
// different processor may round shading slightly differently, which the
// channel tolerance absorbs. Only a handful of pixels may differ beyond it:
// the axis lines are about twenty pixels in all, and a missing or
// miscoloured one must show.
constexpr int kChannelTolerance = 24;
constexpr int kAllowedDifferingPixels = 8;

fs::path referencePath(const std::string& name) {
    return fs::path(VERRINE_SOURCE_DIR) / "tests" / "references" / (name + ".png");
}

fs::path artefactDirectory() { return fs::path(VERRINE_VIEWER_PATH).parent_path() / "e2e-artefacts"; }

bool updating() {
    const char* flag = std::getenv("VERRINE_UPDATE_REFERENCES");
    return flag && std::string(flag) == "1";
}

}  // namespace

std::optional<Image> readReference(const std::string& name) { return readPng(referencePath(name).string()); }

::testing::AssertionResult matchesReference(const Image& actual, const std::string& name,
                                            const std::vector<Rect>& ignored) {
    if (actual.empty()) return ::testing::AssertionFailure() << "no picture to compare with " << name;
    fs::path reference = referencePath(name);
    if (updating()) {
        fs::create_directories(reference.parent_path());
        if (!writePng(actual, reference.string())) {
            return ::testing::AssertionFailure() << "cannot write " << reference;
        }
        return ::testing::AssertionSuccess() << "updated " << reference;
    }
    std::optional<Image> expected = readReference(name);
    if (!expected) {
        return ::testing::AssertionFailure() << "no reference " << reference
                                             << "; make references writes the missing ones";
    }
    ImageDifference difference = compareImages(actual, *expected, ignored, kChannelTolerance);
    if (difference.differingPixels <= kAllowedDifferingPixels) return ::testing::AssertionSuccess();

    fs::create_directories(artefactDirectory());
    fs::path actualPath = artefactDirectory() / (name + "-actual.png");
    fs::path differencePath = artefactDirectory() / (name + "-difference.png");
    writePng(actual, actualPath.string());
    if (!difference.picture.empty()) writePng(difference.picture, differencePath.string());
    return ::testing::AssertionFailure() << name << ": " << difference.differingPixels << " pixels differ (at most "
                                         << kAllowedDifferingPixels << " may); the screenshot is " << actualPath
                                         << ", the difference " << differencePath;
}
