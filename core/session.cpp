#include "core/session.h"

#include "core/flight.h"
#include "core/game_state.h"
#include "core/waits.h"
#include "display/fmain.h"
#include "events/gauges.h"
#include "events/presentation.h"
#include "platform/backend.h"
#include "sound/sound.h"
#include "stage/stage.h"

using platform::DoEvents;

namespace {

void SetGameMenus(bool gameRunning) {
    platform::Form& form = fMain().form;
    form.findMenuItem("mGameStart")->enabled = !gameRunning;
    form.findMenuItem("mGameStop")->enabled = gameRunning;
    form.findMenuItem("mGameEnd")->enabled = true;
    platform::MarkChanged();
}

// Everything up to the countdown's end: the wait banner, the stage, the view, the count.
void PrepareAttempt() {
    FMain& f = fMain();
    ShowMessage(kMsgWait);
    f.pScreen.show();
    DoEvents();
    f.tLastSec.setEnabled(false);
    LoadRound(RoundNo);
    PrepareRoundView();
    HideMessage();
    f.lLine.show();
    f.lLineF.show();
    CountDown();
    f.tLastSec.setEnabled(true);
}

// The pause banner blinks, a second on and a second off, until Enter.
void Pause() {
    for (;;) {
        ShowMessage(kMsgPause);
        if (WaitForKey(1, platform::VK_RETURN)) break;
        HideMessage();
        if (WaitForKey(1, platform::VK_RETURN)) break;
    }
    HideMessage();
    fMain().form.windowState = 0; // Escape minimised the window
    platform::MarkChanged();
    WaitMilliseconds(1000);
}

void HideViewAfterBanner() {
    HideMessage();
    fMain().pFrame.hide();
}

} // namespace

void RunSession() {
    FMain& f = fMain();
    bool newRound = true;
    for (;;) {
        if (newRound) RescuedCount = 0;
        PrepareAttempt();
        for (;;) { // fly, and come back here after a pause
            RunFrameLoop();
            if (GameMode != kPaused) break;
            Pause();
            GameMode = kFlying;
        }
        if (GameMode == kNoGame) return;

        if (GameMode == kRoundCleared) {
            f.tLastSec.setEnabled(false);
            ShowMessage(kMsgCleared);
            PlaySoundFile("wave06.wav", 1);
            WaitForKey(3, platform::VK_SPACE);
            HideViewAfterBanner();
            GameMode = kFlying;
            RoundNo = RoundNo + 1;
            if (RoundNo == 10) {
                ShowEnding();
                return;
            }
            newRound = true;
            continue;
        }

        // Any other value: a crash. The timer keeps counting through all of this.
        ExplodeShip();
        DoEvents();
        Lives = Lives - 1;
        if (Lives >= 0) {
            ShowMessage(TimeLeft < 0 ? kMsgTimeOver : kMsgYouLose);
            WaitForKey(3, platform::VK_SPACE);
            HideViewAfterBanner();
            ShowLives();
            GameMode = kFlying;
            newRound = false; // the same round again, rescued people stay rescued
            continue;
        }
        ShowMessage(kMsgGameOver);
        WaitForKey(5, platform::VK_SPACE);
        HideViewAfterBanner();
        f.pPanel.hide();
        GameMode = kNoGame;
        return;
    }
}

void mGameStart_Click() {
    FMain& f = fMain();
    GameMode = kFlying;
    f.lRound.setCaption("");
    RoundNo = g_firstRound;
    Lives = 3;
    RescuedTotal = 0;
    ShowLives();
    f.pPanel.show();
    f.lLine.hide();
    f.lLineF.hide();
    f.pEnding.hide();
    SetGameMenus(true);
    PlaySoundFile("dr.mid", 1);
    RunSession();
    SetGameMenus(false);
}
