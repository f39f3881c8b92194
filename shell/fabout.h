// fAbout: the splash shown while the game starts, and the about window of the Help menu. One
// small window in a fixed dialog frame without a title bar, over a blue gradient: the logotype,
// the ship with its flame, the version, two links and the copyright line. A click anywhere in
// it but on a link closes it.
#pragma once

#include "platform/controls.h"

struct FAbout {
    FAbout();
    platform::Form form{"fAbout"};
    platform::Shape Shape1{"Shape1"};
    platform::Image Image2{"Image2"};
    platform::Image Image1{"Image1"};
    platform::Image Image3{"Image3"};
    platform::Label lblBer{"lblBer"};
    platform::Label Label3{"Label3"};
    platform::Label lblHttp{"lblHttp"};
    platform::Label Label4{"Label4"};
    platform::Label lblMail{"lblMail"};
    platform::Label Label5{"Label5"};
};

// The window, created on demand; a new one each time it is shown again after closing.
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

// Event handlers.
void fAbout_Click(platform::Control* over);
void fAbout_MouseMove(platform::Control* over);
void OpenLink(const platform::Label& link);
