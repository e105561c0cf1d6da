// verrine-shot: renders the viewer's scene offscreen, with the viewer's own
// Application and frame, and writes the last frame drawn as a PNG file;
// optionally compares it with a reference picture.
//
// The warnings and notes of verrine-check on the program drawn go to
// standard error, with a warning when the picture is flat.
//
// Exit status: 0 written (and, with --compare, close enough to the
// reference; with --strict, no warning); 1 nothing written (no data folder,
// the asked mode's program does not build, no display, no context, the file
// cannot be written), or with --compare too many pixels differ, or with
// --strict a warning was given (the picture is written); 2 bad arguments, a
// reference that cannot be read or has another size, or a picture that would
// replace a file the run reads.

#include <iostream>
#include <memory>
#include <sstream>
#include <string>

#include "app/application.h"
#include "app/globals.h"
#include "platform/glut_startup.h"
#include "render/gl_state.h"
#include "tools/common/resources_folder.h"
#include "tools/check/program_analysis.h"
#include "tools/headless/headless_context.h"
#include "tools/shader_report/build_report.h"
#include "tools/shader_report/scene_inputs.h"
#include "tools/shot/flat_picture.h"
#include "tools/shot/offscreen_frame.h"
#include "tools/shot/picture_difference.h"
#include "tools/shot/png_file.h"
#include "tools/shot/shot_inputs.h"
#include "tools/shot/shot_options.h"
#include "tools/system/display.h"
#include "tools/system/entry.h"
#include "tools/system/tool_start.h"

namespace {

int fail(const std::string& problem, int status = 1) {
    std::cerr << "verrine-shot: " << problem << '\n';
    return status;
}

// As the viewer starts: the Application, held by the global for the rest of
// the run like the viewer's. A pair given by hand then takes the toon
// program's place, built the same way. Every file is read through `inputs`.
std::vector<ShaderBuild> startApplication(const ShotOptions& shot, const std::string& resources,
                                          SceneInputs& inputs) {
    std::vector<ShaderBuild> builds;
    const ShaderBuildObserver record = [&builds](const ShaderBuild& build) { builds.push_back(build); };
    inputs.read([&] {
        application = new Application(resources, record, &inputs);
        if (shot.pair.given()) {
            application->shaderSet.replace(
                ShaderProgram(kToonMode, shot.pair.vertexPath, shot.pair.fragmentPath, record, &inputs));
        }
    });
    return builds;
}

// The asked mode's build, or null when the mode has no program. A pair given
// by hand was built after the viewer's toon program: the last build of a
// mode is the one in use.
const ShaderBuild* askedBuild(const ShotOptions& shot, const std::vector<ShaderBuild>& builds) {
    for (auto build = builds.rbegin(); build != builds.rend(); ++build) {
        if (build->mode == shot.mode) return &*build;
    }
    return nullptr;
}

// The clear colour the picture's background has, as 8-bit RGB.
void backgroundColour(unsigned char (&rgb)[3]) {
    GLfloat colour[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, colour);
    for (int channel = 0; channel < 3; ++channel) {
        rgb[channel] = static_cast<unsigned char>(colour[channel] * 255.0f + 0.5f);
    }
}

int compareWithReference(const ShotOptions& shot, const Picture& picture) {
    // The size is known from the header: a picture of another size is
    // refused before any of its rows is read.
    PngReader reader(shot.comparePath);
    if (reader.problem().empty() && (reader.width() != picture.width || reader.height() != picture.height)) {
        std::cerr << "verrine-shot: cannot compare: " << shot.comparePath << " is " << reader.width() << 'x'
                  << reader.height() << ", the picture " << picture.width << 'x' << picture.height << '\n';
        return 2;
    }
    Picture reference;
    if (!reader.read(reference)) {
        std::cerr << "verrine-shot: " << reader.problem() << '\n';
        return 2;
    }
    std::string problem;
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

// Draws the frames, warns when the picture is flat, writes it and compares
// it. `report` is the report on the program drawn, null for the fixed
// pipeline.
int drawAndWrite(const ShotOptions& shot, OffscreenFrame& frame, const ProgramReport* report) {
    // The size of the drawing area, then the mode the user picks.
    reshape(shot.width, shot.height);
    application->shaderSet.setMode(shot.mode);
    for (int i = 0; i < shot.frames; ++i) application->renderFrame();

    const Picture picture{shot.width, shot.height, frame.readRgb()};
    unsigned char background[3];
    backgroundColour(background);
    int warnings = report != nullptr ? report->count("warning") : 0;
    const std::string flat = flatPictureWarning(picture, background, report);
    if (!flat.empty()) {
        std::cerr << "verrine-shot: " << flat << '\n';
        ++warnings;
    }
    std::string problem;
    const bool written = shot.toStandardOutput() ? writePngToStandardOutput(picture, problem)
                                                 : writePng(shot.output, picture, problem);
    if (!written) return fail(problem);
    const int compared = shot.comparePath.empty() ? 0 : compareWithReference(shot, picture);
    if (compared != 0 || !shot.strict || warnings == 0) return compared;
    std::cerr << "verrine-shot: " << warnings << (warnings == 1 ? " warning" : " warnings")
              << " (--strict: they fail); the picture is written\n";
    return 1;
}

}  // namespace

int toolMain(int argc, char** argv) {
    const bool outputWritable = startTool("verrine-shot", argv);
    if (answeredHelpOrVersion(kShotTool, argc - 1, argv + 1, std::cout)) return 0;
    ShotOptions shot;
    std::string problem;
    if (!parseShotOptions(argc - 1, argv + 1, shot, problem)) return usageError(kShotTool, problem);
    // Before any drawing: the picture must not replace the reference or the
    // pair, and a folder, a device or a closed output will not take it.
    problem = overwrittenInput(shot, {});
    if (!problem.empty()) return fail(problem, 2);
    if (shot.toStandardOutput() && !outputWritable) {
        return fail("cannot write to standard output: it is closed or not open for writing");
    }
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

    // Without its data the picture would not show the viewer's scene.
    const std::string resources = findResourcesFolder(shot.resources, problem);
    if (resources.empty()) return fail(problem);
    if (resources != kResourcesFolder) std::cerr << "verrine-shot: the scene's data from " << resources << '\n';
    if (shot.debugGiven) copyDebugSwitches(shot.debug, *options);

    SceneInputs inputs;
    const std::vector<ShaderBuild> builds = startApplication(shot, resources, inputs);
    const ShaderBuild* build = askedBuild(shot, builds);
    std::unique_ptr<ProgramReport> report;
    if (build != nullptr) {
        // What verrine-check says about the program, in the same form.
        report = std::make_unique<ProgramReport>(reportBuild(*build, shaderModeName(build->mode) + " program", "", inputs));
        ProgramAnalysis(true).addTo(*build, *report);
        if (report->failed()) {
            std::cerr << "verrine-shot: no picture: the " << report->name << " does not build\n";
            printProgramReport(std::cerr, *report, false);
            return 1;
        }
        printProgramDiagnostics(std::cerr, *report);
    }
    // Nor the files the scene read.
    problem = overwrittenInput(shot, inputs.files());
    if (!problem.empty()) return fail(problem, 2);
    return drawAndWrite(shot, frame, report.get());
}
