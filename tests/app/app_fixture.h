// The viewer's Application, built as the entry point builds it, in a real
// window whose menu bar is the viewer's own.
#pragma once

#include <memory>

#include <gtest/gtest.h>

#include "app/globals.h"
#include "app/window.h"
#include "platform/glut_startup.h"
#include "tests/support/test_window.h"

class AppTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<TestWindow>(20, 40, width, height);
        startGlut();
        *options = RenderOptions();
        application = new Application();
        createMenuBar(window->window());
        refreshMenuChecks(window->window());
        lastMouseX = 0;
        lastMouseY = 0;
    }

    void TearDown() override { application = nullptr; }

    LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return windowProc(window->window(), message, wParam, lParam);
    }

    bool isChecked(UINT commandId) {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STATE;
        EXPECT_TRUE(GetMenuItemInfoA(GetMenu(window->window()), commandId, FALSE, &info));
        return (info.fState & MFS_CHECKED) != 0;
    }

    // A copy of the camera as it is now, to replay the expected motions on.
    Camera cameraNow() const { return *application->camera; }

    int width = 500;
    int height = 495;
    std::unique_ptr<TestWindow> window;
};

inline void expectSamePose(const Camera& actual, const Camera& expected) {
    EXPECT_EQ(actual.position.x, expected.position.x);
    EXPECT_EQ(actual.position.y, expected.position.y);
    EXPECT_EQ(actual.position.z, expected.position.z);
    EXPECT_EQ(actual.forward.x, expected.forward.x);
    EXPECT_EQ(actual.forward.y, expected.forward.y);
    EXPECT_EQ(actual.forward.z, expected.forward.z);
    EXPECT_EQ(actual.up.x, expected.up.x);
    EXPECT_EQ(actual.up.y, expected.up.y);
    EXPECT_EQ(actual.up.z, expected.up.z);
    EXPECT_EQ(actual.distance, expected.distance);
}
