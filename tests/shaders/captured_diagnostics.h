// Test helpers: a diagnostic sink that records what the shader system
// reports, and a scratch folder for source files with exact bytes.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "shaders/diagnostic.h"

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

// A fresh folder under the system's temporary folder, removed with its content.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "verrine-shaders-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~ScratchFolder() { std::filesystem::remove_all(path_); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

    // Writes the bytes as they are (no line-end translation); returns the path.
    std::string write(const std::string& name, const std::string& bytes) const {
        std::filesystem::path file = path_ / name;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << bytes;
        return file.string();
    }

private:
    std::filesystem::path path_;
};
