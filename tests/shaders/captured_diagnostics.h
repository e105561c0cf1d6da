// Test helpers: a diagnostic sink that records what the shader system
// reports, and the scratch folder the source files with exact bytes go in.
#pragma once

#include <string>
#include <vector>

#include "shaders/diagnostic.h"
#include "tests/support/scratch_folder.h"

// The fixed beginnings of the two failure reports; the driver's log follows.
inline const std::string kCompileReportHeader =
    "Shader compilation failed. Printing log:\n" + std::string(62, '-') + "\n";
inline const std::string kLinkReportHeader =
    "Shader program link failed. Printing log:\n" + std::string(62, '-') + "\n";

struct Diagnostic {
    std::string caption;
    std::string text;
    bool operator==(const Diagnostic& other) const {
        return caption == other.caption && text == other.text;
    }
};

// Records every writeDiagnostic while it exists; restores the previous sink
// when it goes.
class CapturedDiagnostics {
public:
    CapturedDiagnostics() : previous_(setDiagnosticSink(&record)) { records().clear(); }
    ~CapturedDiagnostics() { setDiagnosticSink(previous_); }
    CapturedDiagnostics(const CapturedDiagnostics&) = delete;
    CapturedDiagnostics& operator=(const CapturedDiagnostics&) = delete;

    const std::vector<Diagnostic>& all() const { return records(); }

    // The failure reports: everything passed with an empty caption.
    std::vector<std::string> reports() const {
        std::vector<std::string> texts;
        for (const Diagnostic& entry : records()) {
            if (entry.caption.empty()) texts.push_back(entry.text);
        }
        return texts;
    }

private:
    static std::vector<Diagnostic>& records() {
        static std::vector<Diagnostic> recorded;
        return recorded;
    }
    static void record(const std::string& caption, const std::string& text) {
        records().push_back({caption, text});
    }

    DiagnosticSink previous_;
};

