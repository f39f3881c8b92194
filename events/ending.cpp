#include "core/twips.h"
#include "core/waits.h"
#include "display/fmain.h"
#include "events/presentation.h"
#include "platform/backend.h"
#include "platform/sound.h"
#include "platform/trace.h"
#include "sound/sound.h"

using namespace platform;

namespace {

void ScrollCredits(FMain& f) {
    for (Long n = RoundLong(f.pEnding.height()); n >= 0; n -= 32) {
        f.imgEnding.move(0, float(n));
        DoEvents();
    }
}

// Each scene pixel stays where the checkerboard is white and turns black where it is black;
// no window messages meanwhile.
void DarkenScene(FMain& f) {
    const Long rows = RoundLong(f.pEnding.height()) / (32 * TwipsY);
    const Long cols = RoundLong(f.pEnding.width()) / (32 * TwipsX);
    for (Long i = 0; i <= rows; ++i)
        for (Long j = 0; j <= cols; ++j) {
            BitBlt(f.pEnding.surface(), 32 * j, 32 * i, 32, 32, f.pMask.surface(), 0, 0, SRCERASE);
            BitBlt(f.pEnding.surface(), 32 * j, 32 * i, 32, 32, f.pMask.surface(), 0, 0, SRCINVERT);
        }
    ForgetChunkResults();
}

} // namespace

void ShowEnding() {
    FMain& f = fMain();
    TraceEvent("ending");
    WaitMilliseconds(2000);
    f.pFrame.hide();
    f.pEnding.move(0, 0, f.pFrame.width(), f.pFrame.height());
    StopMusic(); // the game tune stops whether or not sound is off
    f.pEnding.show();
    const std::string fanfare = AppDir + "wav/fanfa4.mid";
    if (SoundOff != kTrue && platform::FileExists(fanfare)) {
        mciSendString("open " + fanfare + " alias bgm");
        mciSendString("play bgm notify");
    }
    f.imgEnding.move(0, f.pEnding.height(), f.pEnding.width(), f.pEnding.height());
    f.imgEnding.show();
    ScrollCredits(f);
    f.imgEnding.hide();
    DarkenScene(f);
    f.imgEnding.show();
    WaitMilliseconds(5000);
    StopMusic();
    WaitForKey(5, VK_SPACE);
    GameMode = kNoGame;
}
