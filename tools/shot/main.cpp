// verrine-shot: renders the viewer's scene offscreen, with the viewer's own
// Application and frame, and writes the last frame drawn as a PNG file;
// optionally compares it with a reference picture.
//
// Exit status: 0 written (and, with --compare, close enough to the
// reference); 1 nothing written (the asked mode's program does not build, no
// display, no context, the file cannot be written) or, with --compare, too
// many pixels differ; 2 bad arguments, or a reference that cannot be read or
// has another size.

#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>

#include "app/application.h"
#include "app/globals.h"
#include "app/render_options.h"
#include "platform/glut_startup.h"
#include "render/gl_state.h"
#include "tools/headless/headless_context.h"
#include "tools/shader_report/build_report.h"
#include "tools/shot/offscreen_frame.h"
#include "tools/shot/picture_difference.h"
#include "tools/shot/png_file.h"
#include "tools/shot/shot_options.h"
#include "tools/system/display.h"
#include "tools/system/entry.h"

namespace {

const char kHelp[] =
    "Renders the viewer's scene offscreen for N frames (default 1) and writes the last one to\n"
    "OUT.png (- for standard output), reading resources/ from the working directory as the\n"
    "viewer does.\n"
    "  --mode 200|201|202   fixed pipeline (default), toon, edge\n"
    "  --debug LIST         the Debug overlays that are on, from light,axis,plane,rotate,point;\n"
    "                       the list replaces the viewer's defaults (plane,point); none: all off\n"
    "  --frames N           frames drawn; with rotate the scene turns half a degree per frame\n"
    "  --size WxH           picture size, default 500x500\n"
    "  --vertex FILE --fragment FILE\n"
    "                       draw with this pair as the toon program (mode 201)\n"
    "  --compare REF.png    then compare with REF.png: at most N pixels (--tolerance, default 0)\n"
    "                       may differ by more than L levels in a channel (--fuzz, default 2);\n"
    "                       beyond that, exit 1 and write OUT.diff.png showing where\n"
    "When the asked mode's program does not build, no picture is written.\n"
    "It needs an X display only because GLUT's geometry routines do; nothing is shown there.\n";

int fail(const std::string& problem) {
    std::cerr << "verrine-shot: " << problem << '\n';
    return 1;
}

void applyDebugFlags(const RenderOptions& flags) {
    options->showLightLocations = flags.showLightLocations;
    options->showAxis = flags.showAxis;
    options->showBasePlane = flags.showBasePlane;
    options->rotateScene = flags.rotateScene;
    options->showRotationPoint = flags.showRotationPoint;
}

// As the viewer starts: the Application, held by the global for the rest of
// the run like the viewer's. A pair given by hand then takes the toon
// program's place, built the same way.
std::vector<ShaderBuild> startApplication(const ShotOptions& shot) {
    return recordBuilds([&shot] {
        application = new Application();
        if (!shot.pairGiven()) return;
        for (ShaderProgram& entry : application->shaderSet.programs) {
            if (entry.mode == kToonMode) entry = ShaderProgram(kToonMode, shot.vertexPath, shot.fragmentPath);
        }
    });
}

// The report on the asked mode's program when it does not build; empty when
// it does, or when the mode has no program.
std::string buildFailure(const ShotOptions& shot, const std::vector<ShaderBuild>& builds) {
    // A pair given by hand was built after the viewer's toon program: the
    // last build of a mode is the one in use.
    for (auto build = builds.rbegin(); build != builds.rend(); ++build) {
        if (build->mode != shot.mode) continue;
        const std::string name = build->mode == kToonMode ? "toon program" : "edge program";
        const ProgramReport report = reportBuild(*build, name, "");
        if (!report.failed()) return "";
        std::ostringstream text;
        text << "verrine-shot: no picture: the " << name << " does not build\n";
        printProgramReport(text, report, false);
        return text.str();
    }
    return "";
}

std::string differencePath(const std::string& output) {
    const std::string extension = ".png";
    const bool hasExtension = output.size() > extension.size() &&
                              output.compare(output.size() - extension.size(), extension.size(), extension) == 0;
    return (hasExtension ? output.substr(0, output.size() - extension.size()) : output) + ".diff.png";
}

int compareWithReference(const ShotOptions& shot, const Picture& picture) {
    Picture reference;
    std::string problem;
    if (!readPng(shot.comparePath, reference, problem)) {
        std::cerr << "verrine-shot: " << problem << '\n';
        return 2;
    }
    if (reference.width != picture.width || reference.height != picture.height) {
        std::cerr << "verrine-shot: cannot compare: " << shot.comparePath << " is " << reference.width << 'x'
                  << reference.height << ", the picture " << picture.width << 'x' << picture.height << '\n';
        return 2;
    }
    const PictureDifference difference = comparePictures(picture, reference, shot.fuzz);
    if (difference.differingPixels <= shot.tolerance) return 0;
    std::cerr << "verrine-shot: " << difference.differingPixels << " pixels differ from " << shot.comparePath
              << " by more than " << shot.fuzz << " levels (" << shot.tolerance << " allowed)";
    const std::string shownAt = differencePath(shot.output);
    if (writePng(shownAt, difference.picture, problem)) {
        std::cerr << "; where: " << shownAt << '\n';
    } else {
        std::cerr << "; no difference picture: " << problem << '\n';
    }
    return 1;
}

}  // namespace

int toolMain(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            std::cout << kShotUsage << kHelp;
            return 0;
        }
    }
    ShotOptions shot;
    std::string problem;
    if (!parseShotOptions(argc - 1, argv + 1, shot, problem)) {
        std::cerr << "verrine-shot: " << problem << '\n' << kShotUsage;
        return 2;
    }
    // Before any drawing: a folder or a device will not take the picture.
    if (!shot.toStandardOutput()) {
        problem = unwritableOutput(shot.output);
        if (!problem.empty()) return fail(problem);
    }

    // GLUT's geometry and font routines need glutInit, and glutInit needs an
    // X display on Linux; the drawing itself goes to the headless context.
    requireGlutDisplay();
    startGlut();
    HeadlessContext context;
    if (!context.failure().empty()) return fail("no OpenGL context: " + context.failure());
    OffscreenFrame frame(shot.width, shot.height);
    if (!frame.complete()) return fail("no offscreen framebuffer of " + std::to_string(shot.width) +
                                       "x" + std::to_string(shot.height));

    if (!std::filesystem::is_directory("resources")) {
        std::cerr << "verrine-shot: no resources/ in the working directory: the scene is drawn "
                     "without its texture and the viewer's shader programs\n";
    }
    if (shot.debugGiven) applyDebugFlags(shot.debug);

    const std::vector<ShaderBuild> builds = startApplication(shot);
    const std::string failure = buildFailure(shot, builds);
    if (!failure.empty()) {
        std::cerr << failure;
        return 1;
    }
    // Then the size of the drawing area, then the mode the user picks.
    reshape(shot.width, shot.height);
    application->shaderSet.setMode(shot.mode);
    for (int i = 0; i < shot.frames; ++i) application->renderFrame();

    const Picture picture{shot.width, shot.height, frame.readRgb()};
    const bool written = shot.toStandardOutput() ? writePngToStandardOutput(picture, problem)
                                                 : writePng(shot.output, picture, problem);
    if (!written) return fail(problem);
    return shot.comparePath.empty() ? 0 : compareWithReference(shot, picture);
}
