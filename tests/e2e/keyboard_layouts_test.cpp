// The viewer on French, German and Russian keyboards, its keys pressed by
// their place as a user of the layout finds them: the digit row switches
// the modes on every layout (AZERTY shows & é " there without Shift), a
// Latin letter acts by its symbol wherever the layout puts it, and on a
// layout without Latin letters each key acts as the US key in its place.

#include "tests/support/reference_image.h"
#include "tests/support/viewer_driver.h"

namespace {

using Menu = ViewerDriver::Menu;
using Marks = std::vector<bool>;

struct Layout {
    const char* name;
    // A key whose letter is no camera key here but whose US place holds
    // one: it must do nothing. Null where no such key exists.
    const char* letterElsewhere;
};

void PrintTo(const Layout& layout, std::ostream* out) { *out << layout.name; }

const Layout kLayouts[] = {
    {"fr", "<AD02>"},  // Z, where US has W
    {"de", nullptr},
    {"ru", nullptr},
};

class KeyboardLayout : public ::testing::TestWithParam<Layout> {};

// The pan is the reference view's: D twenty times, E ten times, at the
// places that hold D and E on all three layouts (Russian: В and У).
TEST_P(KeyboardLayout, ModeKeysAndCameraKeysWork) {
    ViewerDriver viewer;
    ASSERT_TRUE(viewer.setKeyboardLayout(GetParam().name));
    ASSERT_TRUE(viewer.launch());

    viewer.tapKey("<AE02>");
    EXPECT_EQ(viewer.readCheckMarks(Menu::Shader), (Marks{false, true, false}));
    viewer.tapKey("<AE03>");
    EXPECT_EQ(viewer.readCheckMarks(Menu::Shader), (Marks{false, false, true}));
    viewer.tapKey("<AE01>");
    EXPECT_EQ(viewer.readCheckMarks(Menu::Shader), (Marks{true, false, false}));

    if (GetParam().letterElsewhere) viewer.tapKey(GetParam().letterElsewhere, 5);
    viewer.tapKey("<AC03>", 20);
    viewer.tapKey("<AD03>", 10);
    EXPECT_TRUE(matchesReference(viewer.stillClient(), "after-pan",
                                 {ViewerDriver::frameRateCorner(viewer.clientHeight())}));
}

INSTANTIATE_TEST_SUITE_P(E2e, KeyboardLayout, ::testing::ValuesIn(kLayouts),
                         [](const ::testing::TestParamInfo<Layout>& info) { return info.param.name; });

}  // namespace
