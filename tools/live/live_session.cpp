#include "tools/live/live_session.h"

#include <filesystem>
#include <iostream>

#include "app/globals.h"
#include "app/viewer.h"
#include "app/window.h"
#include "shaders/shader_set.h"
#include "tools/shader_report/build_report.h"

namespace {

std::string counted(int count, const std::string& noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

int errorsIn(const FileReport& file) {
    int errors = 0;
    for (const SourceDiagnostic& diagnostic : file.diagnostics) errors += diagnostic.severity == "error";
    return errors;
}

// Window titles go through the A call in the system's code page; a file
// name outside plain ASCII would come out differently on each system.
std::string plainAscii(std::string text) {
    for (char& c : text) {
        if (c < 0x20 || c > 0x7E) c = '?';
    }
    return text;
}

// The pair given by hand as the toon program; otherwise the viewer's
// programs, from the data folder.
std::vector<WatchedProgram> watchedPrograms(const ShaderPair& pair, const std::string& resources) {
    if (pair.given()) return {{kToonMode, pair.vertexPath, pair.fragmentPath, ""}};
    std::vector<WatchedProgram> programs;
    for (const ProgramFiles& files : kProgramFiles) {
        programs.push_back({files.mode, resources + files.vertex, resources + files.fragment, ""});
    }
    return programs;
}

// What the title says of one build's report: empty when it built cleanly.
std::string troubleOf(ShaderMode mode, const ProgramReport& report) {
    const std::string name = shaderModeName(mode);
    if (!report.failed()) {
        const int warnings = report.count("warning");
        return warnings == 0 ? "" : name + " (" + counted(warnings, "warning") + ")";
    }
    for (const FileReport* file : {&report.vertex, &report.fragment}) {
        const std::string fileName = std::filesystem::u8path(file->path).filename().u8string();
        if (!file->read) {
            const std::string why = file->diagnostics.empty() ? "cannot be read" : file->diagnostics.front().message;
            return name + ": " + fileName + ": " + why;
        }
        if (!file->compiled) return name + ": " + fileName + " does not compile (" + counted(errorsIn(*file), "error") + ")";
    }
    const int errors = report.count("error");
    return name + ": the program does not link" + (errors > 0 ? " (" + counted(errors, "error") + ")" : "");
}

// "Verrine live", then what is wrong with each program, if anything, in
// plain ASCII.
std::string liveTitle(const std::vector<WatchedProgram>& programs) {
    std::string title = kLiveTitle;
    std::string separator = " - ";
    for (const WatchedProgram& program : programs) {
        if (program.trouble.empty()) continue;
        title += separator + program.trouble;
        separator = "; ";
    }
    return plainAscii(title);
}

}  // namespace

LiveSession::LiveSession(HWND window, const ShaderPair& pair, const std::string& resources, bool reference)
    : window_(window), pairGiven_(pair.given()), analysis_(reference), programs_(watchedPrograms(pair, resources)) {}

void LiveSession::startViewer(const std::string& resources) {
    const ShaderBuildObserver reportWatched = [this](const ShaderBuild& build) {
        for (WatchedProgram& program : programs_) {
            if (program.mode == build.mode && program.vertexPath == build.vertex.path &&
                program.fragmentPath == build.fragment.path) {
                ProgramReport built = driverReport(build);
                report(build, built, program);
            }
        }
    };
    inputs_.read([&] { ::startViewer(window_, resources, reportWatched, &inputs_); });
}

std::string LiveSession::start() {
    if (pairGiven_) {
        for (WatchedProgram& program : programs_) rebuild(program);
        application->shaderSet.setMode(kToonMode);
        refreshMenuChecks(window_);
    }
    showTitle();
    std::vector<std::string> files;
    for (const WatchedProgram& program : programs_) {
        files.push_back(program.vertexPath);
        files.push_back(program.fragmentPath);
    }
    return folders_.watch(files);
}

void LiveSession::afterFrame() {
    const ChangeBurst::Clock::time_point now = ChangeBurst::Clock::now();
    std::set<std::string> vanished;
    burst_.noteChange(folders_.takeChanges(changed_, vanished), now);
    for (const std::string& folder : vanished) {
        std::cerr << "verrine-live: the folder " << folder << " went away; its files are no longer watched"
                  << std::endl;
    }
    if (!burst_.pending() || burst_.untilSettled(now) > ChangeBurst::Clock::duration::zero()) return;
    burst_.clear();
    rebuildChanged(changed_);
    changed_.clear();
}

void LiveSession::rebuildChanged(const std::set<std::string>& changed) {
    for (WatchedProgram& program : programs_) {
        if (changed.count(program.vertexPath) > 0 || changed.count(program.fragmentPath) > 0) rebuild(program);
    }
    showTitle();
}

// Each file is read through one descriptor, as the tools read it: a FIFO
// swapped in cannot hold the frame loop, and the report says what was read.
// The driver's verdict alone decides; the new program is put in use before
// the analysis and glslang's second opinion are added and printed, so they
// do not delay its first frame.
void LiveSession::rebuild(WatchedProgram& program) {
    ShaderBuild build;
    ShaderProgram rebuilt(kFixedPipelineMode, "", "");
    inputs_.read([&] {
        rebuilt = ShaderProgram(program.mode, program.vertexPath, program.fragmentPath,
                                [&build](const ShaderBuild& built) { build = built; }, &inputs_);
    });
    ProgramReport built = driverReport(build);
    if (!built.failed()) application->shaderSet.replace(rebuilt);
    report(build, built, program);
    if (built.failed()) deleteBuiltObjects(build);
}

// In verrine-check's words: a pair given by hand is "program", as there.
ProgramReport LiveSession::driverReport(const ShaderBuild& build) const {
    return reportBuild(build, pairGiven_ ? "program" : shaderModeName(build.mode) + " program", "", inputs_);
}

void LiveSession::report(const ShaderBuild& build, ProgramReport& report, WatchedProgram& program) {
    analysis_.addTo(build, report);
    printProgramReport(std::cerr, report, false);
    std::cerr.flush();
    program.trouble = troubleOf(program.mode, report);
}

void LiveSession::showTitle() { SetWindowTextA(window_, liveTitle(programs_).c_str()); }
