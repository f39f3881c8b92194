// Presentation: banners and the countdown, the crash explosion, the ending.
#pragma once

#include "core/game_state.h"

// Banners shown centred on the viewport.
enum : int {
    kMsgCleared = 0,
    kMsgYouLose = 1,
    kMsgGameOver = 2,
    kMsgPause = 3,
    kMsgWait = 4,
    kMsgTimeOver = 5,
};

// Shows banner `index` (0..5) centred on the viewport; the caller hides it.
void ShowMessage(int index);
// Hides the banner.
void HideMessage();

// The big digits 3, 2, 1, one second apart, each with a beep.
void CountDown();

// The crash animation: the ship disappears in 21 growing, jittering squares of fire and smoke.
void ExplodeShip();

// The reward for clearing the last round; leaves GameMode at 0.
void ShowEnding();
