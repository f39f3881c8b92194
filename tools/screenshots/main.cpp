// vexaro-screenshots OUTDIR: the six banners over round 1, the explosion half-way, the ending
// after its darkening, and the title window, as the player sees them.
#include "core/main.h"
#include "core/game_state.h"
#include "display/fmain.h"
#include "events/gauges.h"
#include "events/presentation.h"
#include "platform/assets.h"
#include "platform/headless/headless.h"
#include "shell/commands.h"
#include "stage/stage.h"

#include <cstdio>
#include <string>

namespace {

std::string g_out;

void Shot(const std::string& name) {
    platform::WritePng(platform::headless::ComposeMainWindow().toSurface(), g_out + "/" + name);
}

void OpenRoundOne() {
    TwipsX = TwipsY = platform::g_twipsX;
    AppDir = platform::ExecutableDir();
    ConnectMainWindow(fMain());
    ShowMainWindow();
    Shot("title.png");
    RoundNo = 1;
    Lives = 3;
    LoadRound(RoundNo);
    PrepareRoundView();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vexaro-screenshots OUTDIR\n");
        return 2;
    }
    g_out = argv[1];
    platform::headless::Options options;
    int explosionSteps = 0;
    options.idle = [&] {
        // Half-way through the explosion: the eleventh square, smoke.
        if (fMainLoaded() && fMain().iExplode[1].visible() && ++explosionSteps == 31 * 10 + 1)
            Shot("explosion.png");
        return false;
    };
    platform::headless::Run(options, [] {
        ResetProcessState();
        OpenRoundOne();
        for (int n = 0; n <= 5; ++n) {
            ShowMessage(n);
            Shot("banner-" + std::to_string(n) + ".png");
            HideMessage();
        }
        ExplodeShip();
        ShowEnding();
        Shot("ending.png");
    });
    return 0;
}
