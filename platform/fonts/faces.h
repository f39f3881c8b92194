// The faces the game names, and the free families that stand in for them.
#pragma once

#include <string>

namespace platform {

// "ＭＳ Ｐ明朝" is drawn with IPA P Mincho, "MS UI Gothic" with IPA P Gothic, "Times New Roman"
// with Liberation Serif; any other name is asked for as it stands.
std::string StandInFamily(const std::string& face);

// True for the Japanese families, which must never fall back on a font without kana and kanji.
bool IsJapaneseFamily(const std::string& family);

} // namespace platform
