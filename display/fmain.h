// The main window fMain: the viewport and playfield, the side panel with its gauges and lives,
// the message plate, the countdown digits, the ending picture, and the picture sheets the game
// copies its artwork from.
#pragma once

#include "core/game_state.h"
#include "display/control_array.h"
#include "platform/controls.h"

struct FMain {
    FMain();

    platform::Form form{"fMain"};

    // The viewport and the playfield that scrolls under it.
    platform::PictureBox pFrame{"pFrame"};
    platform::PictureBox pScreen{"pScreen"};

    // Playfield contents that are not windows: painted under every sprite.
    platform::Image iRocket{"iRocket"};
    platform::Image iFunsha{"iFunsha"};
    platform::Image iHFunsha{"iHFunsha"};
    ControlArray<platform::Image> iExplode{"iExplode"};
    platform::Shape sRange{"sRange"};

    // Touchable sprites: element 0 of each array is the template.
    platform::PictureBox pGoal{"pGoal"};
    ControlArray<platform::PictureBox> pRock{"pRock"};
    ControlArray<platform::PictureBox> pEnemy{"pEnemy"};
    ControlArray<platform::PictureBox> pEnergy{"pEnergy"};
    ControlArray<platform::PictureBox> pResq{"pResq"};

    // The side panel.
    platform::PictureBox pPanel{"pPanel"};
    platform::Image Image1{"Image1"};
    platform::Label Label1{"Label1"};
    platform::Label lRound{"lRound"};
    platform::PictureBox pFunsha{"pFunsha"};
    platform::Line lLine{"lLine"};
    platform::PictureBox pLast{"pLast"};
    platform::Line lLineF{"lLineF"};
    ControlArray<platform::Image> pDamege{"pDamege"};

    // Presentation over the viewport.
    platform::PictureBox pMessage{"pMessage"};
    ControlArray<platform::PictureBox> pCount{"pCount"};
    platform::PictureBox pEnding{"pEnding"};
    platform::Image imgEnding{"imgEnding"};

    // Picture sheets: never seen, only copied from.
    platform::PictureBox pTitle{"pTitle"};
    ControlArray<platform::PictureBox> pMsg{"pMsg"};
    platform::PictureBox pRockDat{"pRockDat"};
    platform::PictureBox pResqDat{"pResqDat"};
    platform::PictureBox pEnergyDat{"pEnergyDat"};
    platform::PictureBox pMask{"pMask"};
    ControlArray<platform::Image> iRockectDat{"iRockectDat"};
    ControlArray<platform::Image> iFunshaDat{"iFunshaDat"};

    platform::Timer tLastSec{"tLastSec"};
};

// The one main window, created on first use.
FMain& fMain();
// True once fMain exists.
bool fMainLoaded();
// Destroys the window and everything on it (a new headless run starts without one).
void DestroyMainWindow();

// Shows fMain, running its load handler first when the window is new.
void ShowMainWindow();

// The load handler: hides the viewport and panel, sets the outer size, tiles the title
// picture over the window and empties the round caption.
void fMain_Load();

// The main window's outer size and client area, in twips.
constexpr float kMainOuterWidth = 9390;
constexpr float kMainOuterHeight = 6630;
constexpr float kMainClientWidth = 9315;
constexpr float kMainClientHeight = 5955;
