// Held keys: which codes are recorded, and what a frame does with them.

#include "tests/app/app_fixture.h"

namespace {

using HeldKeys = AppTest;

TEST_F(HeldKeys, RecordsOnlyCodesFromZeroToY) {
    const int recorded[] = {'0', '9', 'A', 'W', 'Y'};
    const int ignored[] = {-1, 0, 8, 13, 16, 17, 32, 37, 40, 47, 'Z', 112, 123, 186, 255, 1000};
    for (int key : ignored) application->keyDown(key);
    for (bool held : application->keyStates) EXPECT_FALSE(held);
    EXPECT_FALSE(options->quitRequested);

    for (int key : recorded) application->keyDown(key);
    for (int key : recorded) EXPECT_TRUE(application->keyStates[key - Application::kFirstKey]) << key;
    for (int key : recorded) application->keyUp(key);
    for (bool held : application->keyStates) EXPECT_FALSE(held);
}

TEST_F(HeldKeys, EscapeRequestsTheQuitWithoutBeingRecorded) {
    application->keyDown(VK_ESCAPE);
    EXPECT_TRUE(options->quitRequested);
    for (bool held : application->keyStates) EXPECT_FALSE(held);
}

struct KeyPair {
    char first;
    void (Camera::*firstMotion)();
    char second;
    void (Camera::*secondMotion)();
};

const KeyPair kPairs[] = {
    {'W', &Camera::moveForward, 'S', &Camera::moveBackward},
    {'A', &Camera::moveLeft, 'D', &Camera::moveRight},
    {'E', &Camera::moveUp, 'C', &Camera::moveDown},
    {'I', &Camera::lookUp, 'K', &Camera::lookDown},
    {'J', &Camera::turnLeft, 'L', &Camera::turnRight},
    {'U', &Camera::rollRight, 'O', &Camera::rollLeft},
};

TEST_F(HeldKeys, EachPairStepsOncePerFrameAndItsFirstKeyWins) {
    for (const KeyPair& pair : kPairs) {
        SCOPED_TRACE(std::string(1, pair.first) + "/" + pair.second);
        Camera expected = cameraNow();
        application->keyDown(pair.second);
        application->update();
        (expected.*pair.secondMotion)();
        expectSamePose(*application->camera, expected);

        application->keyDown(pair.first);
        application->update();
        application->update();
        (expected.*pair.firstMotion)();
        (expected.*pair.firstMotion)();
        expectSamePose(*application->camera, expected);

        application->keyUp(pair.first);
        application->keyUp(pair.second);
        application->update();
        expectSamePose(*application->camera, expected);
    }
}

TEST_F(HeldKeys, PairsAreIndependentAndRunInTableOrder) {
    Camera expected = cameraNow();
    for (const KeyPair& pair : kPairs) application->keyDown(pair.first);
    application->update();
    for (const KeyPair& pair : kPairs) (expected.*pair.firstMotion)();
    expectSamePose(*application->camera, expected);
}

TEST_F(HeldKeys, ModeKeysOneBeforeTwoBeforeThree) {
    struct Case {
        std::vector<int> held;
        ShaderMode mode;
    };
    const Case cases[] = {
        {{'2'}, kToonMode},
        {{'3'}, kEdgeMode},
        {{'1', '3'}, kFixedPipelineMode},
        {{'2', '3'}, kToonMode},
        {{'1', '2', '3'}, kFixedPipelineMode},
    };
    for (const Case& c : cases) {
        application->shaderSet.setMode(250);
        for (int key : c.held) application->keyDown(key);
        application->update();
        EXPECT_EQ(application->shaderSet.currentMode, c.mode);
        for (int key : c.held) application->keyUp(key);
    }
}

TEST_F(HeldKeys, AHeldModeKeySetsItsModeInEveryFrame) {
    application->keyDown('3');
    application->update();
    GLint program = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_NE(program, 0);

    application->shaderSet.setMode(kFixedPipelineMode);
    application->update();
    EXPECT_EQ(application->shaderSet.currentMode, kEdgeMode);
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ(static_cast<GLuint>(program), application->shaderSet.currentProgram());

    application->keyUp('3');
    application->update();
    EXPECT_EQ(application->shaderSet.currentMode, kEdgeMode);
}

}  // namespace
