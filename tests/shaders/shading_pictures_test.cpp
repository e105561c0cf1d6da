// What the toon and edge modes put on screen, drawn by the viewer's own
// Application: flat bands, outlines of a steady width, and a paper shade
// that follows the world height through "CAMERA_POSITION".
#include <algorithm>
#include <cstdlib>
#include <map>
#include <vector>

#include "tests/render/render_fixture.h"

namespace {

class ShadingPictures : public RenderTest {
protected:
    void SetUp() override {
        RenderTest::SetUp();
        options->showBasePlane = false;
        options->showRotationPoint = false;
    }

    std::vector<unsigned char> frameIn(ShaderMode mode) {
        app->shaderSet.setMode(mode);
        drawFrame();
        return readFrame();
    }

    Rgb pixelAt(const std::vector<unsigned char>& frame, double x, double y, double z) {
        int windowX, windowY;
        project(x, y, z, &windowX, &windowY);
        return pixel(frame, windowX, windowY);
    }

    static bool isDark(Rgb colour) { return std::max({colour.red, colour.green, colour.blue}) < 80; }
};

// The cube stands alone in this view (the teapot is off to the left).
constexpr double kCubeLeft = 0.25, kCubeRight = 0.75, kCubeTop = 0.5, kCubeFront = 0.25;

TEST_F(ShadingPictures, ToonCubeShowsOnlyAFewFlatShades) {
    lookAt(Vector3(1.4, 0.9, 1.5), Vector3(0.5, 0.25, 0.0));
    // Grey shades, each covering at least 10 pixels, inside the cube's
    // outline on screen.
    const auto cubeShades = [&](const std::vector<unsigned char>& frame) {
        int left, right, bottom, top, unused;
        project(kCubeLeft, 0.0, kCubeFront, &left, &bottom);
        project(kCubeRight, 0.0, kCubeFront, &right, &unused);
        project(kCubeRight, kCubeTop, -kCubeFront, &unused, &top);
        std::map<int, int> histogram;
        for (int y = bottom + 3; y < top - 3; ++y) {
            for (int x = left + 3; x < std::max(right, left) + 60; ++x) {
                const Rgb colour = pixel(frame, x, y);
                if (colour.red == colour.green && colour.green == colour.blue && !matches(colour, kViewerBackground)) {
                    ++histogram[colour.red];
                }
            }
        }
        return std::count_if(histogram.begin(), histogram.end(),
                             [](const auto& shade) { return shade.second >= 10; });
    };
    const auto toon = cubeShades(frameIn(kToonMode));
    const auto fixedPipeline = cubeShades(frameIn(kFixedPipelineMode));
    EXPECT_GE(toon, 2);
    EXPECT_LE(toon, 6);
    EXPECT_GE(fixedPipeline, 20) << "the comparison needs smooth shading to tell bands from";
}

TEST_F(ShadingPictures, ToonStripesColourTheTeapotOnly) {
    const auto frame = frameIn(kToonMode);
    const Rgb teapot = pixelAt(frame, -0.5, 0.3, 0.3);
    EXPECT_TRUE(isStripeColour(teapot));
    const Rgb cube = pixelAt(frame, 0.5, 0.25, 0.25);
    EXPECT_TRUE(cube.red == cube.green && cube.green == cube.blue);
}

// Looking straight at the teapot from its height; the scan runs left along
// the row through the lower body, from its light centre to the outline.
TEST_F(ShadingPictures, EdgeOutlinesTheTeapotEquallyWideAtAnyDistance) {
    std::vector<int> widths;
    for (double distance : {1.2, 3.6}) {
        lookAt(Vector3(-0.5, 0.38, distance), Vector3(-0.5, 0.38, 0.0));
        const auto frame = frameIn(kEdgeMode);
        int centreX, y;
        project(-0.5, 0.22, 0.0, &centreX, &y);
        EXPECT_GT(pixel(frame, centreX, y).red, 150) << "the surface is drawn light";

        int x = centreX;
        while (x > 0 && !isDark(pixel(frame, x, y)) && !matches(pixel(frame, x, y), kViewerBackground)) --x;
        int width = 0;
        while (x - width > 0 && isDark(pixel(frame, x - width, y))) ++width;
        EXPECT_GE(width, 1) << "a dark outline at distance " << distance;
        EXPECT_LE(width, 6) << "at distance " << distance;
        widths.push_back(width);
    }
    EXPECT_LE(std::abs(widths[0] - widths[1]), 1);
}

// The paper darkens towards the ground. The same world point keeps its shade
// from another camera, and the shade moves when the uniform holds another
// eye position than the one the view was built from.
TEST_F(ShadingPictures, EdgeShadeFollowsWorldHeightThroughTheCameraPosition) {
    const double low = 0.05, high = 0.45;
    std::vector<Rgb> lowShades, highShades;
    for (Vector3 eye : {Vector3(1.5, 0.6, 2.0), Vector3(-0.2, 1.8, 2.2)}) {
        lookAt(eye, Vector3(0.5, 0.25, 0.0));
        const auto frame = frameIn(kEdgeMode);
        lowShades.push_back(pixelAt(frame, 0.5, low, kCubeFront));
        highShades.push_back(pixelAt(frame, 0.5, high, kCubeFront));
        EXPECT_GT(highShades.back().red - lowShades.back().red, 20);
    }
    EXPECT_LE(std::abs(lowShades[0].red - lowShades[1].red), 4);
    EXPECT_LE(std::abs(highShades[0].red - highShades[1].red), 4);

    app->camera->applyView();
    app->camera->position = app->camera->position + Vector3(0.0, 0.5, 0.0);
    app->drawScene();
    const auto shifted = readFrame();
    EXPECT_GT(pixelAt(shifted, 0.5, low, kCubeFront).red - lowShades.back().red, 10);
}

}  // namespace
