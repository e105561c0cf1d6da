// The viewer started on damaged data files: every shader file and the
// texture missing, empty, a directory, unreadable, huge, binary, with a NUL,
// CR LF line ends or no final line feed. Whatever the files hold, the viewer
// starts, traces and reports what it read on standard error, draws every
// shading mode, keeps drawing and ends with status 0 on Escape. The four
// shader files are independent, so one run breaks each in its own way.

#include <linux/capability.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <algorithm>
#include <optional>
#include <random>

#include "tests/reliability/viewer_checks.h"

namespace reliability {
namespace {

namespace fs = std::filesystem;

enum class ShaderFile { Shipped, Missing, Empty, Directory, Unreadable, Huge, RandomBinary, NulByte, CrLf, NoFinalLineFeed };
enum class TextureFile { Missing, Empty, Short, Longer, Directory, Unreadable };

const char* const kShaderNames[] = {"testVertex", "testFragment", "edgeVertex", "edgeFragment"};

struct DataFilesCase {
    const char* name;
    TextureFile texture;
    ShaderFile shaders[4];  // in the order of kShaderNames
};

constexpr size_t kTextureBytes = 40 * 40 * 3;
constexpr size_t kHugeBytes = size_t(64) << 20;
const char kCompileReport[] = "Shader compilation failed. Printing log:\n";
const char kLinkReport[] = "Shader program link failed. Printing log:\n";
const char kInitReport[] = "Shader failed to correctly initialize.";

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

void replaceWithDirectory(const fs::path& path) {
    fs::remove(path);
    fs::create_directory(path);
}

// Root reads a file whatever its mode bits say; root without the two
// capabilities that allow it is held to them like anyone else. Dropped
// from the bounding set, they are gone for every program this test starts
// from now on, the viewer included.
bool modeBitsWillBindTheViewer() {
    if (geteuid() != 0) return true;
    return prctl(PR_CAPBSET_DROP, CAP_DAC_OVERRIDE, 0, 0, 0) == 0 &&
           prctl(PR_CAPBSET_DROP, CAP_DAC_READ_SEARCH, 0, 0, 0) == 0;
}

bool needsModeBits(const DataFilesCase& run) {
    return run.texture == TextureFile::Unreadable ||
           std::count(std::begin(run.shaders), std::end(run.shaders), ShaderFile::Unreadable) > 0;
}

// The shipped text padded with comment lines to 64 MiB: a file with no
// limit on its size that still compiles.
std::string hugeShader(const std::string& shipped) {
    const std::string line = "// " + std::string(76, '=') + "\n";
    std::string text = shipped;
    text.reserve(kHugeBytes);
    while (text.size() + line.size() <= kHugeBytes) text += line;
    return text;
}

std::string randomBytes(size_t count) {
    std::mt19937 generator(20260807);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string bytes(count, '\0');
    for (char& c : bytes) c = static_cast<char>(byte(generator));
    return bytes;
}

std::string withCrLf(const std::string& text) {
    std::string converted;
    for (char c : text) {
        if (c == '\n') converted += '\r';
        converted += c;
    }
    return converted;
}

// The shipped text with a NUL after its first line: the driver, handed the
// text as a C string, sees only that comment line.
std::string withNulAfterFirstLine(const std::string& text) {
    std::string changed = text;
    changed.insert(changed.find('\n') + 1, 1, '\0');
    return changed;
}

// Breaks one shader file as the case says; returns the text the viewer must
// trace for it, or nothing when that text is not worth spelling out.
std::optional<std::string> prepareShader(const fs::path& path, ShaderFile state, const std::string& shipped) {
    switch (state) {
        case ShaderFile::Shipped: return shipped;
        case ShaderFile::Missing: fs::remove(path); return "";
        case ShaderFile::Empty: writeFile(path, ""); return "";
        case ShaderFile::Directory: replaceWithDirectory(path); return "";
        case ShaderFile::Unreadable: fs::permissions(path, fs::perms::none); return "";
        case ShaderFile::Huge: {
            std::string text = hugeShader(shipped);
            writeFile(path, text);
            return text;
        }
        case ShaderFile::RandomBinary: writeFile(path, randomBytes(4096)); return std::nullopt;
        case ShaderFile::NulByte: {
            std::string text = withNulAfterFirstLine(shipped);
            writeFile(path, text);
            return text;
        }
        case ShaderFile::CrLf: writeFile(path, withCrLf(shipped)); return shipped;
        case ShaderFile::NoFinalLineFeed: writeFile(path, shipped.substr(0, shipped.size() - 1)); return shipped;
    }
    return std::nullopt;
}

bool compiles(ShaderFile state) {
    return state == ShaderFile::Shipped || state == ShaderFile::Huge || state == ShaderFile::CrLf ||
           state == ShaderFile::NoFinalLineFeed;
}

void prepareTexture(const fs::path& path, TextureFile state) {
    std::string shipped = fileText(path);
    switch (state) {
        case TextureFile::Missing: fs::remove(path); break;
        case TextureFile::Empty: writeFile(path, ""); break;
        // The first 20 of 40 rows.
        case TextureFile::Short: writeFile(path, shipped.substr(0, kTextureBytes / 2)); break;
        // White past the image, which must not show.
        case TextureFile::Longer: writeFile(path, shipped + std::string(kTextureBytes, '\xff')); break;
        case TextureFile::Directory: replaceWithDirectory(path); break;
        case TextureFile::Unreadable: fs::permissions(path, fs::perms::none); break;
    }
}

// How a trace of one file looks on standard error; the diagnostic output
// ends a text that lacks a final line feed with one.
std::string traceOf(const std::string& name, const std::string& text) {
    std::string block = "--- File import path ---\nresources/shaders/" + name + ".txt\n--- Shader text ---\n" + text;
    if (block.back() != '\n') block += '\n';
    return block;
}

std::string traceHeaderOf(const std::string& name) {
    return "--- File import path ---\nresources/shaders/" + name + ".txt\n";
}

// A program that works reports nothing; one that cannot work says so with a
// link report at the least, whatever its compile reports were.
void expectProgramReports(const std::string& section, bool works, const char* program) {
    if (works) {
        EXPECT_EQ(occurrences(section, kCompileReport) + occurrences(section, kLinkReport) +
                      occurrences(section, kInitReport),
                  0u)
            << program << " program";
    } else {
        EXPECT_EQ(occurrences(section, kLinkReport), 1u) << program << " program";
    }
}

// What the teapot shows under the fixed pipeline: its stripes are the only
// strongly coloured pixels of the scene, and only a black texture makes
// pixels near black.
struct TexturePixels {
    int coloured = 0;
    int black = 0;
};

TexturePixels texturePixels(const Image& picture) {
    Rect corner = ViewerDriver::frameRateCorner(picture.height());
    TexturePixels counted;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (corner.contains(x, y)) continue;
            Rgb c = picture.at(x, y);
            int high = std::max({c.red, c.green, c.blue});
            int low = std::min({c.red, c.green, c.blue});
            if (high - low >= 100) ++counted.coloured;
            if (high < 24) ++counted.black;
        }
    }
    return counted;
}

// The teapot covers about 3,700 pixels of the first frame; its stripes
// about half of them, a few dark ones among.
void expectTextureShows(TextureFile state, const Image& fixedPipeline) {
    constexpr int kTeapotHalf = 1800;
    constexpr int kStray = 20;
    TexturePixels pixels = texturePixels(fixedPipeline);
    SCOPED_TRACE(::testing::Message() << pixels.coloured << " strongly coloured and " << pixels.black
                                      << " near black pixels");
    switch (state) {
        case TextureFile::Longer:
            EXPECT_GT(pixels.coloured, kTeapotHalf / 2);
            EXPECT_LT(pixels.black, kTeapotHalf / 4);
            break;
        case TextureFile::Missing:
        case TextureFile::Directory:
        case TextureFile::Unreadable:
            // No texture at all: the teapot is lit but plain.
            EXPECT_LT(pixels.coloured, kStray);
            EXPECT_LT(pixels.black, kStray);
            break;
        case TextureFile::Empty:
            // Every pixel the file lacks is black.
            EXPECT_LT(pixels.coloured, kStray);
            EXPECT_GT(pixels.black, kTeapotHalf);
            break;
        case TextureFile::Short:
            EXPECT_GT(pixels.coloured, kTeapotHalf / 6);
            EXPECT_GT(pixels.black, kTeapotHalf / 2);
            break;
    }
}

// Test lists show the case by its name.
void PrintTo(const DataFilesCase& run, std::ostream* out) { *out << run.name; }

class DataFiles : public ::testing::TestWithParam<DataFilesCase> {};

TEST_P(DataFiles, ViewerStartsReportsDrawsEveryModeAndQuits) {
    const DataFilesCase& run = GetParam();
    if (needsModeBits(run) && !modeBitsWillBindTheViewer()) {
        GTEST_SKIP() << "running as root without the right to drop capabilities: no mode bits can stop "
                        "the viewer reading a file";
    }
    ViewerDriver viewer;
    const fs::path resources = viewer.workingDirectory() / "resources";
    prepareTexture(resources / "textures/stripes.raw", run.texture);
    std::optional<std::string> traced[4];
    for (int file = 0; file < 4; ++file) {
        traced[file] = prepareShader(resources / "shaders" / (std::string(kShaderNames[file]) + ".txt"),
                                     run.shaders[file], shippedShader(kShaderNames[file]));
    }

    ViewerLaunch how;
    how.startTimeout = std::chrono::seconds(60);
    ASSERT_TRUE(viewer.launch(how));

    // Each file traced in order, with the text it gave.
    const std::string output = viewer.standardError();
    size_t from = 0;
    for (int file = 0; file < 4; ++file) {
        std::string expected = traced[file] ? traceOf(kShaderNames[file], *traced[file]) : traceHeaderOf(kShaderNames[file]);
        size_t at = output.find(expected, from);
        ASSERT_NE(at, std::string::npos) << "no trace of " << kShaderNames[file] << " as expected";
        from = at + expected.size();
    }
    const size_t edgeStart = output.find(traceHeaderOf("edgeVertex"));
    const bool toonWorks = compiles(run.shaders[0]) && compiles(run.shaders[1]);
    const bool edgeWorks = compiles(run.shaders[2]) && compiles(run.shaders[3]);
    expectProgramReports(output.substr(0, edgeStart), toonWorks, "toon");
    expectProgramReports(output.substr(edgeStart), edgeWorks, "edge");

    // A mode whose program cannot be put in use leaves the previous program
    // drawing: toon after the fixed pipeline, edge after toon.
    Image fixedPipeline = viewer.stillClient();
    ASSERT_FALSE(fixedPipeline.empty());
    expectTextureShows(run.texture, fixedPipeline);
    Image toon = pictureInMode(viewer, "2");
    Image edge = pictureInMode(viewer, "3");
    ASSERT_FALSE(toon.empty() || edge.empty()) << "a shading mode never settled";
    EXPECT_EQ(samePicture(toon, fixedPipeline), !toonWorks);
    EXPECT_EQ(samePicture(edge, toon), !edgeWorks);

    EXPECT_TRUE(keepsDrawing(viewer));
    EXPECT_TRUE(quitsOnEscape(viewer));
}

using S = ShaderFile;
const DataFilesCase kCases[] = {
    {"UnusableShadersAndNoTexture", TextureFile::Missing, {S::Missing, S::Empty, S::Directory, S::RandomBinary}},
    {"OddButSoundShadersAndAnEmptyTexture", TextureFile::Empty, {S::CrLf, S::NoFinalLineFeed, S::Huge, S::Shipped}},
    {"NulByteAndAShortTexture", TextureFile::Short, {S::Shipped, S::Shipped, S::Shipped, S::NulByte}},
    {"TextureLongerThanItsImage", TextureFile::Longer, {S::Shipped, S::Shipped, S::Shipped, S::Shipped}},
    {"TextureIsADirectory", TextureFile::Directory, {S::Shipped, S::Shipped, S::Shipped, S::Shipped}},
    {"UnreadableFiles", TextureFile::Unreadable, {S::Shipped, S::Unreadable, S::Shipped, S::Shipped}},
};

INSTANTIATE_TEST_SUITE_P(Reliability, DataFiles, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<DataFilesCase>& info) { return info.param.name; });

}  // namespace
}  // namespace reliability
