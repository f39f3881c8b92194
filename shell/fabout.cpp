#include "shell/fabout.h"

#include "platform/assets.h"
#include "platform/backend.h"

#include <memory>

using namespace platform;

namespace {

std::unique_ptr<FAbout> g_fAbout;

constexpr Pixel kWhite = Rgb(255, 255, 255);
constexpr Pixel kYellow = Rgb(255, 255, 0);
const char* const kMincho = "ＭＳ Ｐ明朝";

void PlaceLabel(Form& form, Label& label, float left, float top, const char* caption,
                FontSpec font) {
    label.font = std::move(font);
    label.foreColor = kWhite;
    label.transparent = true;
    label.autoSize = true;
    label.move(left, top);
    label.setCaption(caption);
    form.add(label);
}

void PlaceImage(Form& form, Image& image, const char* picture, float l, float t, float w, float h) {
    image.stretch = true;
    image.setPicture(LoadPicture(picture));
    image.move(l, t, w, h);
    form.add(image);
}

bool IsLink(const Control* c) {
    return g_fAbout && (c == &g_fAbout->lblHttp || c == &g_fAbout->lblMail);
}

// The shape takes no clicks or moves of its own: its area is background.
bool IsBackground(const Control* c) {
    return c == nullptr || (g_fAbout && c == &g_fAbout->Shape1);
}

} // namespace

FAbout::FAbout() {
    form.hasBorder = false;
    form.dialogFrame = true;
    form.showInTaskbar = false;
    form.setBackColor(Rgb(0, 0, 255));
    form.setClientSize(6120, 3735);
    form.setSize(6120, 3735);

    Shape1.borderColor = Rgb(0, 0, 255);
    Shape1.move(2160, 2160, 3675, 1155);
    form.add(Shape1);
    PlaceImage(form, Image2, "aboutLogo.png", 2220, 0, 3150, 1965);
    PlaceImage(form, Image1, "ship1.png", 420, 240, 1245, 1185);
    PlaceImage(form, Image3, "flame1.png", 300, 1560, 1500, 1320);
    PlaceLabel(form, lblBer, 4020, 1920, "Ver 2000.02", {"Times New Roman", 18, true, true});
    PlaceLabel(form, Label3, 2280, 2220, "Home Page", {kMincho, 12, false, true});
    PlaceLabel(form, lblHttp, 2280, 2460, "https://vexaro.example.com/",
               {kMincho, 12, false, true});
    PlaceLabel(form, Label4, 2280, 2760, "Mail", {kMincho, 12, false, true});
    PlaceLabel(form, lblMail, 2280, 3000, "team@vexaro.example.com", {kMincho, 12, false, true});
    PlaceLabel(form, Label5, 1380, 3420, "Copyright (C) 2026 The Vexaro!! Team",
               {kMincho, 12, false, false});

    const auto hand = LoadPicture("handCursor.png");
    for (Label* link : {&lblHttp, &lblMail}) {
        link->mouseIcon = hand;
        link->mouseHotX = 12;
        link->mouseHotY = 1;
    }
    form.onClick = [](Control* over, int, int) { fAbout_Click(over); };
    form.onMouseMove = [](Control* over, int, int) { fAbout_MouseMove(over); };
}

FAbout& fAbout() {
    if (!g_fAbout) g_fAbout = std::make_unique<FAbout>();
    return *g_fAbout;
}

bool fAboutLoaded() {
    return g_fAbout != nullptr && g_fAbout->form.loaded;
}

void fAbout_Load() {
    // Bands of blue falling from 255 at the top; each band reaches slightly into the next and
    // the later one wins.
    Surface& s = fAbout().form.surface();
    const int width = s.width();
    const int h = s.height();
    const int step = h / 16;
    for (int y = 0; step > 0 && y <= h; y += step)
        s.fillRect(-1, y - 1, width + 2, h / 16 + 2, Rgb(0, 0, 255 - (255 * y) / h));
}

void fAbout_Click(Control* over) {
    if (IsLink(over)) {
        OpenLink(*static_cast<Label*>(over));
        return;
    }
    UnloadAbout();
}

void fAbout_MouseMove(Control* over) {
    FAbout& about = fAbout();
    if (over == &about.lblHttp || over == &about.lblMail) {
        static_cast<Label*>(over)->foreColor = kYellow;
    } else if (IsBackground(over)) {
        about.lblHttp.foreColor = kWhite;
        about.lblMail.foreColor = kWhite;
    } else {
        return; // another label or a picture changes nothing
    }
    MarkChanged();
}

void OpenLink(const Label& link) {
    const int result = ShellExecute(link.caption());
    if (result >= 0 && result <= 32) MsgBox("関連づけられた実行ファイルがありません", vbOKOnly);
}

void ShowAbout(bool modal) {
    // Nothing survives between two showings: a closed window is made anew.
    if (g_fAbout && !g_fAbout->form.loaded) g_fAbout.reset();
    FAbout& about = fAbout();
    fAbout_Load();
    ShowForm(about.form, modal);
}

void UnloadAbout() {
    if (!g_fAbout) return;
    UnloadForm(g_fAbout->form);
}

void DestroyAbout() {
    g_fAbout.reset();
}
