// What every reliability run asks of the real viewer, whatever was done to
// it: it still draws, each shading mode shows what it should, and Escape
// ends it with status 0.
#pragma once

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "tests/support/viewer_driver.h"

namespace reliability {

// Items of the Debug menu, top to bottom.
constexpr int kRotateSceneItem = 3;

inline std::string fileText(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

inline std::string shippedShader(const std::string& name) {
    return fileText(std::filesystem::path(VERRINE_SOURCE_DIR) / "resources/shaders" / (name + ".txt"));
}

inline size_t occurrences(const std::string& text, const std::string& piece) {
    size_t count = 0;
    for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + piece.size())) ++count;
    return count;
}

// The same picture outside the frame-rate text, which changes on its own.
inline bool samePicture(const Image& a, const Image& b) {
    if (a.empty() || b.empty() || a.width() != b.width() || a.height() != b.height()) return false;
    return compareImages(a, b, {ViewerDriver::frameRateCorner(a.height())}, 0).differingPixels == 0;
}

// Presses a mode key (1, 2, 3) and returns the settled picture.
inline Image pictureInMode(ViewerDriver& viewer, const std::string& key,
                           std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
    viewer.tapKey(key);
    return viewer.stillClient(timeout);
}

// Frames keep coming: with "Rotate Scene" on, the scene turns a step with
// each frame drawn, so a few frames apart two captures differ.
inline ::testing::AssertionResult keepsDrawing(ViewerDriver& viewer) {
    constexpr int kTurnedFrames = 5;
    ::testing::AssertionResult chosen = viewer.chooseMenuItem(ViewerDriver::Menu::Debug, kRotateSceneItem);
    if (!chosen) return chosen;
    Image before = viewer.captureClient();
    if (!viewer.waitForFrames(kTurnedFrames, std::chrono::seconds(30))) {
        return ::testing::AssertionFailure() << "no frames drawn with the scene turning";
    }
    if (samePicture(before, viewer.captureClient())) {
        return ::testing::AssertionFailure() << "the picture did not change with the scene turning";
    }
    return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult exitsWithZero(ViewerDriver& viewer, std::chrono::seconds timeout) {
    std::optional<int> status = viewer.waitForExit(timeout);
    if (!status) return ::testing::AssertionFailure() << "still running after " << timeout.count() << " s";
    if (*status != 0) {
        // The end of standard error holds a sanitizer's or the toolkit's report.
        const std::string err = viewer.standardError();
        return ::testing::AssertionFailure() << "exit status " << *status << "; standard error ends:\n"
                                             << err.substr(err.size() > 4000 ? err.size() - 4000 : 0);
    }
    return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult quitsOnEscape(ViewerDriver& viewer) {
    if (!viewer.running()) return ::testing::AssertionFailure() << "the viewer is no longer running";
    viewer.tapKey("Escape");
    return exitsWithZero(viewer, std::chrono::seconds(10));
}

}  // namespace reliability
