#include "sound/sound.h"

#include "platform/backend.h"
#include "platform/sound.h"

#include <algorithm>
#include <cctype>

namespace {

std::string LastThreeUpper(const std::string& path) {
    std::string tail = path.size() >= 3 ? path.substr(path.size() - 3) : path;
    std::transform(tail.begin(), tail.end(), tail.begin(),
                   [](unsigned char c) { return char(std::toupper(c)); });
    return tail;
}

} // namespace

void StopMusic() {
    if (platform::mciSendString("status bgm mode") == 0) platform::mciSendString("close bgm");
}

void PlaySoundFile(const std::string& fileName, Long SoundFlags) {
    if (SoundOff == kTrue) return;
    const std::string path = AppDir + "wav/" + fileName;
    if (!platform::FileExists(path)) return;
    if (LastThreeUpper(path) != "MID") {
        platform::sndPlaySound(path, int(SoundFlags));
        return;
    }
    // One tune at a time: close whatever the channel holds, then open and play this one once.
    StopMusic();
    platform::mciSendString("open " + path + " alias bgm");
    platform::mciSendString("play bgm notify");
}
