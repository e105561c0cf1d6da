// verrine-shot: renders the viewer's scene offscreen, with the viewer's own
// Application and frame, and writes the last frame drawn as a PNG file;
// optionally compares it with a reference picture.
//
// Exit status: 0 written (and, with --compare, close enough to the
// reference); 1 nothing written (no data folder, the asked mode's program
// does not build, no display, no context, the file cannot be written) or,
// with --compare, too many pixels differ; 2 bad arguments, a reference that
// cannot be read or has another size, or a picture that would replace a file
// the run reads.

#include <iostream>
#include <sstream>
#include <string>

#include "app/application.h"
#include "app/globals.h"
#include "platform/glut_startup.h"
#include "render/gl_state.h"
#include "tools/common/resources_folder.h"
#include "tools/headless/headless_context.h"
#include "tools/shader_report/build_report.h"
#include "tools/shader_report/scene_inputs.h"
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
// program's place, built the same way.
std::vector<ShaderBuild> startApplication(const ShotOptions& shot, const std::string& resources) {
    std::vector<ShaderBuild> builds;
    const ShaderBuildObserver record = [&builds](const ShaderBuild& build) { builds.push_back(build); };
    readSceneInputs([&] {
        application = new Application(resources, record);
        if (shot.pair.given()) {
            application->shaderSet.replace(
                ShaderProgram(kToonMode, shot.pair.vertexPath, shot.pair.fragmentPath, record));
        }
    });
    return builds;
}

// The report on the asked mode's program when it does not build; empty when
// it does, or when the mode has no program.
std::string buildFailure(const ShotOptions& shot, const std::vector<ShaderBuild>& builds) {
    // A pair given by hand was built after the viewer's toon program: the
    // last build of a mode is the one in use.
    for (auto build = builds.rbegin(); build != builds.rend(); ++build) {
        if (build->mode != shot.mode) continue;
        const std::string name = shaderModeName(build->mode) + " program";
        const ProgramReport report = reportBuild(*build, name, "");
        if (!report.failed()) return "";
        std::ostringstream text;
        text << "verrine-shot: no picture: the " << name << " does not build\n";
        printProgramReport(text, report, false);
        return text.str();
    }
    return "";
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

}  // namespace

int toolMain(int argc, char** argv) {
    const bool outputWritable = startTool("verrine-shot", argv);
    if (answeredHelpOrVersion(kShotTool, argc - 1, argv + 1, std::cout)) return 0;
    ShotOptions shot;
    std::string problem;
    if (!parseShotOptions(argc - 1, argv + 1, shot, problem)) return usageError(kShotTool, problem);
    // Before any drawing: the picture must not replace the reference or the
    // pair, and a folder, a device or a closed output will not take it.
    problem = overwrittenInput(shot);
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

    const std::vector<ShaderBuild> builds = startApplication(shot, resources);
    const std::string failure = buildFailure(shot, builds);
    if (!failure.empty()) {
        std::cerr << failure;
        return 1;
    }
    // Nor the files the scene read.
    problem = overwrittenInput(shot);
    if (!problem.empty()) return fail(problem, 2);
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
