#include "core/main.h"

#include "core/flight.h"
#include "core/game_state.h"
#include "core/random.h"
#include "core/waits.h"
#include "display/fmain.h"
#include "platform/backend.h"
#include "shell/commands.h"
#include "shell/fabout.h"
#include "shell/help.h"

void Main() {
    ShowAbout(false);
    platform::DoEvents();
    if (platform::AnotherInstanceRunning()) platform::EndProcess(0);

    AppDir = platform::ExecutableDir();
    if (AppDir.empty() || AppDir.back() != '/') AppDir += '/';

    // Twips per pixel: 1440 per inch over the screen's logical dots per inch, rounded half to
    // even once here.
    TwipsX = platform::RoundLong(1440.0 / platform::ScreenDpi());
    TwipsY = platform::RoundLong(1440.0 / platform::ScreenDpi());

    WaitMilliseconds(1000);
    ConnectMainWindow(fMain());
    ShowMainWindow();
    UnloadAbout();
}

namespace {

// Every window of the game, the ones shown over the main window first. Any form may go at any
// time (a modal loop on it ends, the backend lets go of its window), so the order is for the
// reader; the help window is among them so that no run inherits one from the run before.
void DestroyWindows() {
    DestroyHelp();
    DestroyAbout();
    DestroyMainWindow();
}

} // namespace

void ResetProcessState() {
    ResetGameState();
    ResetRandom();
    g_framesFlown = 0;
    DestroyWindows();
}
