// Font files found through fontconfig: the desktop's installed fonts.
#include "platform/fonts/faces.h"
#include "platform/text.h"

#include <fontconfig/fontconfig.h>

#include <map>
#include <tuple>

namespace platform {

std::string FindFontFile(const std::string& face, bool bold, bool italic) {
    static std::map<std::tuple<std::string, bool, bool>, std::string> cache;
    auto key = std::make_tuple(face, bold, italic);
    if (auto it = cache.find(key); it != cache.end()) return it->second;
    std::string result;
    if (FcInit()) {
        FcPattern* pattern = FcPatternCreate();
        const std::string family = StandInFamily(face);
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
        // The Japanese faces must fall back on a font that has kana and kanji, never on one
        // that shows empty boxes.
        if (IsJapaneseFamily(family))
            FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
        FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
        FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult res;
        if (FcPattern* match = FcFontMatch(nullptr, pattern, &res)) {
            FcChar8* file = nullptr;
            if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file)
                result = reinterpret_cast<const char*>(file);
            FcPatternDestroy(match);
        }
        FcPatternDestroy(pattern);
    }
    cache[key] = result;
    return result;
}

} // namespace platform
