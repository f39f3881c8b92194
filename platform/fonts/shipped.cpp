// Font files shipped with the game, in the folder "fonts" beside the executable: where the system
// has no fontconfig and none of the faces (a browser, Windows), the game brings the ones it
// letters with.
#include "platform/desktop.h"
#include "platform/file_read.h"
#include "platform/fonts/faces.h"
#include "platform/text.h"

namespace platform {

namespace {

struct ShippedFont {
    const char* family;
    bool bold, italic;
    const char* file;
};

// The IPA families have one cut: bold and italic are drawn from it, as on the desktop.
constexpr ShippedFont kShipped[] = {
    {"IPAPMincho", false, false, "ipamp.ttf"},
    {"IPAMincho", false, false, "ipamp.ttf"},
    {"IPAPGothic", false, false, "ipagp.ttf"},
    {"Liberation Serif", false, false, "LiberationSerif-Regular.ttf"},
    {"Liberation Serif", true, false, "LiberationSerif-Bold.ttf"},
    {"Liberation Serif", false, true, "LiberationSerif-Italic.ttf"},
    {"Liberation Serif", true, true, "LiberationSerif-BoldItalic.ttf"},
};

// The closest shipped cut: the family first, then the style; a family the game does not ship
// is lettered with IPA P Gothic, which has every character the game shows.
const ShippedFont& ClosestCut(const std::string& family, bool bold, bool italic) {
    const ShippedFont* best = nullptr;
    int bestScore = -1;
    for (const ShippedFont& font : kShipped) {
        const int score = (font.family == family ? 4 : 0) + (font.bold == bold ? 2 : 0) +
                          (font.italic == italic ? 1 : 0);
        if (font.family == family || family.empty()) {
            if (score > bestScore) best = &font, bestScore = score;
        }
    }
    if (best) return *best;
    for (const ShippedFont& font : kShipped)
        if (std::string(font.family) == "IPAPGothic") return font;
    return kShipped[0];
}

} // namespace

std::string FindFontFile(const std::string& face, bool bold, bool italic) {
    // Asked of the system directly: where the fonts lie is no input of the game's, and a
    // recording made here must play the same where fontconfig finds them.
    const std::string path = desktop::ExecutableDir() + "fonts/" +
                             ClosestCut(StandInFamily(face), bold, italic).file;
    return IsPlainFile(path) ? path : "";
}

} // namespace platform
