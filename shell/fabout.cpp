#include "shell/fabout.h"

#include "platform/backend.h"

#include <memory>

using namespace platform;

namespace {
std::unique_ptr<FAbout> g_fAbout;
}

FAbout::FAbout() {
    form.hasBorder = false;
    form.showInTaskbar = false;
    form.setBackColor(Rgb(0, 0, 255));
    form.setClientSize(6120, 3735);
    form.setSize(6120, 3735);

    lblBer.font = {"Times New Roman", 18, true, true, false};
    lblBer.foreColor = Rgb(255, 255, 255);
    lblBer.move(4020, 1920, 1785, 420);
    lblBer.autoSize = true;
    lblBer.setCaption("Ver 2000.02");
    form.add(lblBer);

    // A click anywhere closes the window.
    form.onClick = [](Control*, int, int) { UnloadAbout(); };
}

FAbout& fAbout() {
    if (!g_fAbout) g_fAbout = std::make_unique<FAbout>();
    return *g_fAbout;
}

bool fAboutLoaded() { return g_fAbout != nullptr; }

void fAbout_Load() {
    // Bands of blue falling from 255 at the top; each band reaches slightly into the next and
    // the later one wins.
    Surface& s = fAbout().form.surface();
    const int width = s.width();
    const int h = s.height();
    const int step = h / 16;
    for (int y = 0; step > 0 && y <= h; y += step)
        s.fillRect(-1, y - 1, width + 2, (y + h / 16) - (y - 1) + 1, Rgb(0, 0, 255 - (255 * y) / h));
}

void ShowAbout(bool modal) {
    FAbout& about = fAbout();
    if (!about.form.loaded) fAbout_Load();
    ShowForm(about.form, modal);
}

void DestroyAbout() { g_fAbout.reset(); }

void UnloadAbout() {
    if (!g_fAbout) return;
    UnloadForm(g_fAbout->form);
    // Destroyed later, not inside its own click handler: the next show creates a new one.
}
