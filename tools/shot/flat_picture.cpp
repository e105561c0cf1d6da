#include "tools/shot/flat_picture.h"

#include <cstdlib>
#include <sstream>

namespace {

// Levels a channel may stray by, as a comparison allows by default.
constexpr int kFuzz = 2;

long pixelsDiffering(const Picture& picture, const unsigned char* colour) {
    long count = 0;
    for (size_t pixel = 0; pixel + 2 < picture.rgb.size(); pixel += 3) {
        for (size_t channel = 0; channel < 3; ++channel) {
            if (std::abs(picture.rgb[pixel + channel] - colour[channel]) <= kFuzz) continue;
            ++count;
            break;
        }
    }
    return count;
}

const SourceDiagnostic* firstWarning(const ProgramReport& report) {
    for (const auto* list : {&report.vertex.diagnostics, &report.fragment.diagnostics, &report.linkDiagnostics}) {
        for (const SourceDiagnostic& diagnostic : *list) {
            if (diagnostic.severity == "warning") return &diagnostic;
        }
    }
    return nullptr;
}

}  // namespace

std::string flatPictureWarning(const Picture& picture, const unsigned char (&background)[3],
                               const ProgramReport* report) {
    const long pixels = static_cast<long>(picture.rgb.size() / 3);
    if (pixels == 0) return "";
    std::ostringstream text;
    if (pixelsDiffering(picture, picture.rgb.data()) == 0) {
        text << "warning: the picture is one flat colour";
    } else {
        const long differing = pixelsDiffering(picture, background);
        if (differing * 100 >= pixels) return "";
        text << "warning: the picture is almost empty: " << differing << " of " << pixels
             << " pixels differ from the background";
    }
    const SourceDiagnostic* cause = report != nullptr ? firstWarning(*report) : nullptr;
    if (cause == nullptr) return text.str() + "; the check found no cause";
    text << "; likely cause: " << cause->where << ':';
    if (cause->line > 0) text << cause->line << ':';
    return text.str() + ' ' + cause->message;
}
