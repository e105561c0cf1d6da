// The main of the test programs whose cases need the X display to
// themselves: the input focus, the pointer, the front buffer, or a search for
// the window "Verrine". Each case runs in its own process (ctest), so each
// gets an Xvfb of its own and the suite can run in parallel.

#include <cstdio>
#include <cstdlib>

#include <gtest/gtest.h>

#include "tests/support/private_x_server.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // Listing the cases (ctest's discovery) needs no display. The server is
    // never stopped here: GLUT and the toolkit still hold connections to it
    // while the process exits, and the kernel ends Xvfb with the process.
    if (!testing::GTEST_FLAG(list_tests)) {
        static PrivateXServer* server = new PrivateXServer("/dev/null");
        if (!server->ready()) {
            std::fprintf(stderr, "cannot start an Xvfb for this test\n");
            return 1;
        }
        setenv("DISPLAY", server->name().c_str(), 1);
    }
    return RUN_ALL_TESTS();
}
