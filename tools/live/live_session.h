// What verrine-live adds to the viewer: the programs whose files it
// watches, building one again when one of its files is saved, and the window
// title that says how the last builds went.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "platform/win32.h"
#include "shaders/shader_build.h"
#include "tools/check/program_analysis.h"
#include "tools/common/command_line.h"
#include "tools/shader_report/scene_inputs.h"
#include "tools/system/watcher.h"

// One mode's program and the two files it is built from.
struct WatchedProgram {
    ShaderMode mode;
    std::string vertexPath;
    std::string fragmentPath;
    std::string trouble;  // what the title says of its last build; empty when it built cleanly
};

// The window's title while every program builds cleanly.
constexpr char kLiveTitle[] = "Verrine live";

class LiveSession {
public:
    // Watches the pair given by hand, or the data folder's programs. Needs
    // the window's context current: the analysis asks the driver its name.
    // With `reference`, the reports carry glslang's second opinion.
    LiveSession(HWND window, const ShaderPair& pair, const std::string& resources, bool reference);

    // Starts the viewer in the window (app/viewer.h) with its data from
    // `resources`, each file read as the tools read it, and reports each
    // watched program it builds.
    void startViewer(const std::string& resources);
    // Once the viewer has started: builds the programs the viewer does not
    // (a pair given by hand, which is then the mode shown) and watches the
    // files' folders. Returns an empty text or why they cannot be watched.
    std::string start();
    // Once per frame, after the swap: takes the changes the kernel reported
    // and, once a burst of them has settled, builds the changed programs.
    void afterFrame();
    // Builds each program one of whose files is in `changed` again and
    // updates the title.
    void rebuildChanged(const std::set<std::string>& changed);

private:
    // Builds the program from its files and puts it in its mode's place
    // when it builds; otherwise deletes it, keeping the last good one.
    void rebuild(WatchedProgram& program);
    // What the driver said of a build: compiled, linked, its logs.
    ProgramReport driverReport(const ShaderBuild& build) const;
    // Adds the analysis to the driver's report, prints it and notes what
    // the title is to say.
    void report(const ShaderBuild& build, ProgramReport& report, WatchedProgram& program);
    void showTitle();

    HWND window_;
    bool pairGiven_;
    ProgramAnalysis analysis_;
    SceneInputs inputs_;  // what the last build read, for its report
    std::vector<WatchedProgram> programs_;
    FolderWatch folders_;
    ChangeBurst burst_;
    std::set<std::string> changed_;
};
