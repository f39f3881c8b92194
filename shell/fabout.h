// fAbout: the splash shown while the game starts, and the about window of the Help menu.
#pragma once

#include "platform/controls.h"

struct FAbout {
    FAbout();
    platform::Form form{"fAbout"};
    platform::Label lblBer{"lblBer"};
};

// The window, created on demand and destroyed when it closes.
FAbout& fAbout();
bool fAboutLoaded();
// Shows it: modeless for the splash, modal for the about command.
void ShowAbout(bool modal);
// Closes it.
void UnloadAbout();
// Destroys it (a new headless run starts without one).
void DestroyAbout();

// The load handler: paints the blue gradient.
void fAbout_Load();
