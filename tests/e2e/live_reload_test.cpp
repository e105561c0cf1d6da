// verrine-live on a copy of the shaders: each save of the toon fragment, as
// an editor makes it, is followed in the window and its title, and the
// camera and the mode stay as they were.

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/support/reference_image.h"
#include "tests/support/scene_pixels.h"
#include "tests/support/viewer_driver.h"
#include "tests/tools/tool_cases.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr char kFragment[] = "resources/shaders/testFragment.txt";
// A line of each build's report.
constexpr char kToonBuilt[] = "toon program (resources/shaders/testVertex.txt, resources/shaders/testFragment.txt): ";

enum class Save { InPlace, ByRename, Delete, Fifo };

// The toon fragment with its colour scaled.
std::string scaled(std::string text, int step) {
    return text.insert(text.rfind('}'), "    gl_FragColor.rgb *= " + std::to_string(0.3 + step % 60 / 100.0) + ";\n");
}

struct SaveCase {
    const char* name;
    bool storm;  // five seconds of saves of other colours before it, one a millisecond
    Save save;
    std::string (*edit)(std::string original);  // the saved text; none for a deletion
    const char* title;         // the title after the save starts so
    const char* reportedOnce;  // a line of the save's report, on standard error once
};

// The green saves change the picture; the others must leave it as it was.
const SaveCase kSaves[] = {
    {"WrittenInPlace", false, Save::InPlace, greened, kLiveTitle, ""},
    {"SavedByRenamingANewFile", false, Save::ByRename, greened, kLiveTitle, ""},
    {"AfterFiveSecondsOfAThousandSavesASecond", true, Save::InPlace, greened, kLiveTitle, ""},
    {"Broken", false, Save::InPlace, broken, kBrokenToonTitle, kBrokenToonReport},
    {"Deleted", false, Save::Delete, nullptr,
     "Verrine live - toon: testFragment.txt: cannot read the file: No such file or directory",
     "resources/shaders/testFragment.txt: error: cannot read the file: No such file or directory\n"},
    // Reading a FIFO would wait for a writer, in the middle of a frame.
    {"ReplacedByAFifo", false, Save::Fifo, nullptr,
     "Verrine live - toon: testFragment.txt: cannot read the file: it is not a regular file",
     "resources/shaders/testFragment.txt: error: cannot read the file: it is not a regular file\n"},
};

// Cases are named by their row, in ctest's list too.
void PrintTo(const SaveCase& row, std::ostream* out) { *out << row.name; }

std::string readText(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

void writeText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

void save(const fs::path& file, Save how, const std::string& text) {
    if (how == Save::Delete || how == Save::Fifo) {
        fs::remove(file);
        if (how == Save::Fifo) mkfifo(file.c_str(), 0600);
    } else if (how == Save::ByRename) {
        const fs::path written = fs::path(file).concat(".new");
        writeText(written, text);
        fs::rename(written, file);
    } else {
        writeText(file, text);
    }
}

int occurrences(const std::string& text, const std::string& part) {
    int count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

bool isPureGreen(Rgb colour) { return isNear(colour, Rgb{0, 255, 0}, 2); }

int pixelsChanged(ViewerDriver& live, const Image& before, const Image& after) {
    return compareImages(after, before, {ViewerDriver::frameRateCorner(live.clientHeight())}, 0).differingPixels;
}

// How long after `since` the picture first shows the green saves (or, with
// `before`, first equals it); past the time when it never does.
milliseconds untilPicture(ViewerDriver& live, const Image* before, Clock::time_point since) {
    const auto shows = [&](const Image& picture) {
        return before ? pixelsChanged(live, *before, picture) == 0 : measurePixels(picture, isPureGreen).count > 1000;
    };
    while (Clock::now() - since < std::chrono::seconds(3) && !shows(live.captureClient())) {
        std::this_thread::sleep_for(milliseconds(10));
    }
    return std::chrono::duration_cast<milliseconds>(Clock::now() - since);
}

// Saves of changing colours, one a millisecond for five seconds: the window
// keeps drawing, and builds at most every 200 ms, once after the last save.
void storm(ViewerDriver& live, const fs::path& fragment, const std::string& original) {
    const int framesBefore = live.framesPresented();
    const int buildsBefore = occurrences(live.standardError(), kToonBuilt);
    const Clock::time_point start = Clock::now();
    int saves = 0;
    while (Clock::now() - start < std::chrono::seconds(5)) {
        writeText(fragment, scaled(original, saves));
        ++saves;
        std::this_thread::sleep_until(start + saves * milliseconds(1));
        // Damage is reported once until it is taken: count as it comes.
        if (saves % 10 == 0) live.framesPresented();
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    EXPECT_GT(live.framesPresented() - framesBefore, seconds * 5) << "frames drawn during " << saves << " saves";
    EXPECT_LE(occurrences(live.standardError(), kToonBuilt) - buildsBefore, seconds * 5 + 1) << "builds";
}

class LiveSaves : public ::testing::TestWithParam<SaveCase> {};

TEST_P(LiveSaves, AreFollowedWithTheCameraAndModeKept) {
    const SaveCase& row = GetParam();
    ViewerDriver live;
    const fs::path fragment = live.workingDirectory() / kFragment;
    const std::string original = readText(fragment);
    ViewerLaunch how;
    how.program = VERRINE_LIVE_PATH;
    how.title = kLiveTitle;
    ASSERT_TRUE(live.launch(how));
    live.drag(150, 150, 210, 180);
    live.tapKey("2");
    const Image before = live.stillClient();
    ASSERT_FALSE(before.empty());

    if (row.storm) storm(live, fragment, original);
    const Clock::time_point saved = Clock::now();
    save(fragment, row.save, row.edit ? row.edit(original) : "");
    const bool changes = row.edit == greened;
    if (changes) {
        EXPECT_LT(untilPicture(live, nullptr, saved).count(), 1000);
    }
    EXPECT_TRUE(live.waitForTitle(row.title)) << live.title();
    if (!changes) {
        // Time for a wrong second report or a wrong picture to show.
        std::this_thread::sleep_for(milliseconds(500));
        EXPECT_EQ(pixelsChanged(live, before, live.stillClient()), 0) << "the last good program is no longer drawn";
    }
    if (*row.reportedOnce) {
        EXPECT_EQ(occurrences(live.standardError(), row.reportedOnce), 1) << live.standardError();
    }

    // The file as it was: the picture and the title come back.
    fs::remove(fragment);
    writeText(fragment, original);
    EXPECT_LT(untilPicture(live, &before, Clock::now()).count(), 3000);
    EXPECT_TRUE(live.waitForTitle(kLiveTitle, true)) << live.title();
    live.tapKey("1");
    EXPECT_TRUE(matchesReference(live.stillClient(), "after-drag", {ViewerDriver::frameRateCorner(live.clientHeight())}));
}

INSTANTIATE_TEST_SUITE_P(LiveReload, LiveSaves, ::testing::ValuesIn(kSaves),
                         [](const ::testing::TestParamInfo<SaveCase>& info) { return std::string(info.param.name); });

}  // namespace
