#include "platform/fonts/faces.h"

namespace platform {

std::string StandInFamily(const std::string& face) {
    if (face == "ＭＳ Ｐ明朝" || face == "MS PMincho") return "IPAPMincho";
    if (face == "ＭＳ 明朝" || face == "MS Mincho") return "IPAMincho";
    if (face == "MS UI Gothic" || face == "ＭＳ Ｐゴシック") return "IPAPGothic";
    if (face == "Times New Roman") return "Liberation Serif";
    if (face == "Arial") return "Liberation Sans";
    return face;
}

bool IsJapaneseFamily(const std::string& family) {
    return family.rfind("IPA", 0) == 0;
}

} // namespace platform
