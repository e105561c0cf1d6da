// Comparison of a screenshot with a stored reference picture.
//
// References live in tests/references/<name>.png, shared by the screenshots
// of the running viewer and verrine-shot's pictures. With
// VERRINE_UPDATE_REFERENCES=1 in the environment the screenshot replaces the
// reference instead. On a mismatch the screenshot and a difference picture
// are kept in e2e-artefacts/ beside the viewer's executable, and the failure
// names them.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/image.h"

// The stored reference, if it can be read.
std::optional<Image> readReference(const std::string& name);

::testing::AssertionResult matchesReference(const Image& actual, const std::string& name,
                                            const std::vector<Rect>& ignored);
