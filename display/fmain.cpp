#include "display/fmain.h"

#include "platform/assets.h"
#include "platform/backend.h"

#include <memory>

using namespace platform;

namespace {

std::unique_ptr<FMain> g_fMain;

constexpr Pixel kYellow = Rgb(255, 255, 0);
const char* const kMincho = "ＭＳ Ｐ明朝";

// A sheet or template: a picture box that takes its size from its picture.
void FitSheet(PictureBox& box, const char* picture) {
    box.fitToPicture(LoadPicture(picture)->pixels);
}

std::unique_ptr<PictureBox> NewBox(const std::string& name) {
    return std::make_unique<PictureBox>(name);
}

std::unique_ptr<Image> NewImage(const std::string& name, const char* picture) {
    auto image = std::make_unique<Image>(name);
    image->setPicture(LoadPicture(picture));
    return image;
}

void LayOutPlayfield(FMain& f) {
    f.pFrame.setBackColor(Rgb(0, 0, 0));
    f.pFrame.move(0, 0, 7875, 5955);
    f.pFrame.add(f.pScreen);
    f.pScreen.setBackColor(Rgb(128, 64, 64));
    f.pScreen.hide();

    // Images, back to front: the main flame under the ship, the side flame over everything.
    f.iFunsha.setPicture(LoadPicture("flame1.png"));
    f.iRocket.setPicture(LoadPicture("ship1.png"));
    f.iHFunsha.setPicture(LoadPicture("flame0.png"));
    f.sRange.borderColor = kYellow;
    for (Image* image : {&f.iFunsha, &f.iRocket}) {
        image->hide();
        f.pScreen.add(*image);
    }
    f.sRange.hide();
    f.pScreen.add(f.sRange);
    for (int i = 0; i < 2; ++i) {
        auto& e = f.iExplode.Add(
            NewImage(f.iExplode.ElementName(i), i == 0 ? "explode0.png" : "explode1.png"));
        e.stretch = true;
        e.hide();
        f.pScreen.add(e);
    }
    f.iHFunsha.hide();
    f.pScreen.add(f.iHFunsha);

    // Sprite templates and the pad, back to front.
    auto& rock = f.pRock.Add(NewBox(f.pRock.ElementName(0)));
    rock.setBackColor(Rgb(255, 255, 255));
    rock.setSize(85 * float(g_twipsX), 69 * float(g_twipsY));
    rock.clear();
    FitSheet(f.pGoal, "pGoal.png");
    auto& energy = f.pEnergy.Add(NewBox(f.pEnergy.ElementName(0)));
    FitSheet(energy, "pEnergy0.png");
    auto& enemy = f.pEnemy.Add(NewBox(f.pEnemy.ElementName(0)));
    FitSheet(enemy, "pEnemy0.png");
    auto& resq = f.pResq.Add(NewBox(f.pResq.ElementName(0)));
    FitSheet(resq, "pResq0.png");
    for (PictureBox* box : {&rock, &f.pGoal, &energy, &enemy, &resq}) {
        box->hide();
        f.pScreen.add(*box);
    }
}

void LayOutPanel(FMain& f) {
    f.pPanel.setBackColor(Rgb(0, 0, 0));
    f.pPanel.persistent = false;
    f.pPanel.move(7860, 0, 1455, 5955);
    f.pPanel.clear();

    f.Image1.stretch = true;
    f.Image1.setPicture(LoadPicture("panelTitle.png"));
    f.Image1.move(60, 60, 1335, 765);

    f.Label1.font = {kMincho, 9, false, false, false};
    f.Label1.foreColor = kYellow;
    f.Label1.move(780, 900, 615, 255);
    f.Label1.setCaption("Round");

    f.lRound.font = {kMincho, 14.25, true, false, false};
    f.lRound.foreColor = kYellow;
    f.lRound.move(1020, 1080, 345, 285);
    f.lRound.autoSize = true;
    f.lRound.setCaption("00");

    f.pFunsha.move(60, 900, 315, 4980);
    FitSheet(f.pFunsha, "pFunsha.png");
    f.lLine.color = kYellow;
    f.lLine.borderWidth = 5;
    f.lLine.x1 = 0;
    f.lLine.x2 = 540;
    f.lLine.setY(2640, 2640);
    f.pFunsha.add(f.lLine);

    f.pLast.move(420, 900, 315, 4980);
    FitSheet(f.pLast, "pLast.png");
    f.lLineF.color = kYellow;
    f.lLineF.borderWidth = 5;
    f.lLineF.x1 = 0;
    f.lLineF.x2 = 540;
    f.lLineF.setY(1380, 1380);
    f.pLast.add(f.lLineF);

    f.pPanel.add(f.Image1);
    f.pPanel.add(f.Label1);
    f.pPanel.add(f.lRound);
    for (int i = 0; i < 9; ++i) {
        auto& life = f.pDamege.Add(NewImage(f.pDamege.ElementName(i), "ship1.png"));
        life.move(840, float(5400 - 480 * i), 480, 480);
        f.pPanel.add(life);
    }
    f.pPanel.add(f.pFunsha);
    f.pPanel.add(f.pLast);
}

void LayOutSheets(FMain& f) {
    FitSheet(f.pTitle, "pTitle.png");
    FitSheet(f.pRockDat, "pRockDat.png");
    FitSheet(f.pResqDat, "pResqDat.png");
    FitSheet(f.pEnergyDat, "pEnergyDat.png");
    FitSheet(f.pMask, "pMask.png");
    for (int i = 0; i < 6; ++i) {
        auto& msg = f.pMsg.Add(NewBox(f.pMsg.ElementName(i)));
        FitSheet(msg, ("pMsg" + std::to_string(i) + ".png").c_str());
    }
    for (int i = 0; i < 3; ++i) {
        auto& count = f.pCount.Add(NewBox(f.pCount.ElementName(i)));
        FitSheet(count, ("pCount" + std::to_string(i) + ".png").c_str());
        auto& ship = f.iRockectDat.Add(
            NewImage(f.iRockectDat.ElementName(i), ("ship" + std::to_string(i) + ".png").c_str()));
        auto& flame = f.iFunshaDat.Add(
            NewImage(f.iFunshaDat.ElementName(i), ("flame" + std::to_string(i) + ".png").c_str()));
        ship.hide();
        flame.hide();
        f.form.add(ship);
        f.form.add(flame);
    }
    f.pMessage.persistent = false;
    FitSheet(f.pEnding, "pEnding.png");
    f.pEnding.move(0, 0, 7875, 5955);
    f.imgEnding.stretch = true;
    f.imgEnding.setPicture(LoadPicture("imgEnding.png"));
    f.imgEnding.hide();
    f.pEnding.add(f.imgEnding);
}

// The window's own picture boxes, front to back as they stand when the window is first shown.
void StackWindowBoxes(FMain& f) {
    PictureBox* frontToBack[] = {
        &f.pEnding,   &f.pMask,     &f.pMsg[5],    &f.pMsg[4],  &f.pResqDat, &f.pMsg[3],
        &f.pCount[2], &f.pCount[1], &f.pCount[0],  &f.pMessage, &f.pMsg[2],  &f.pMsg[1],
        &f.pMsg[0],   &f.pPanel,    &f.pEnergyDat, &f.pTitle,   &f.pRockDat, &f.pFrame};
    for (auto it = std::rbegin(frontToBack); it != std::rend(frontToBack); ++it) {
        PictureBox* box = *it;
        f.form.add(*box);
        box->hide();
    }
}

// The menu bar: titles and items with their captions as they stand; "&" marks the access key.
std::vector<MenuItem> MenuBar() {
    auto item = [](const char* name, const char* caption, bool enabled = true) {
        MenuItem m;
        m.name = name;
        m.caption = caption;
        m.enabled = enabled;
        return m;
    };
    MenuItem game = item("mGame", "ゲーム(&G)");
    game.items = {item("mGameStart", "開始(&S)"), item("mGameStop", "停止(&E)", false),
                  item("mGameD1", "-"), item("mGameEnd", "Vexaroの終了(&X)")};
    MenuItem set = item("mSet", "設定（&E）");
    set.items = {item("mSetZOrder", "常に手前に表示(&Z)"), item("mSetSound", "音を出さない(&N)")};
    MenuItem help = item("mHelp", "ﾍﾙﾌﾟ(&H)");
    help.items = {item("mHelpHelp", "目次(&C)"), item("mHelpDum", "-"),
                  item("mHelpAbout", "バージョン情報(&A)")};
    return {game, set, help};
}

} // namespace

FMain::FMain() {
    form.caption = "Vexaro!!";
    form.icon = LoadPicture("ship1.png");
    form.menu = MenuBar();
    form.setBackColor(Rgb(0, 0, 0));
    form.setClientSize(kMainClientWidth, kMainClientHeight);
    LayOutPlayfield(*this);
    LayOutPanel(*this);
    LayOutSheets(*this);
    StackWindowBoxes(*this);
    tLastSec.interval = 1000;
    tLastSec.setEnabled(false);
}

FMain& fMain() {
    if (!g_fMain) g_fMain = std::make_unique<FMain>();
    return *g_fMain;
}

bool fMainLoaded() {
    return g_fMain != nullptr;
}

void DestroyMainWindow() {
    g_fMain.reset();
}

void fMain_Load() {
    FMain& f = fMain();
    f.pFrame.hide();
    f.pPanel.hide();
    f.form.setSize(kMainOuterWidth, kMainOuterHeight);

    // Tile the title picture over the window: rows and columns from the outer size, both
    // bounds inclusive, so more is drawn than the client area needs; the rest is clipped.
    const Long rows = RoundLong(f.form.height()) / (192 * TwipsY);
    const Long cols = RoundLong(f.form.width()) / (256 * TwipsX);
    for (Long i = 0; i <= rows; ++i)
        for (Long j = 0; j <= cols; ++j)
            BitBlt(f.form.surface(), 256 * j, 192 * i, 256, 192, f.pTitle.surface(), 0, 0, SRCCOPY);

    f.lRound.setCaption("");
    DoEvents();
}

void ShowMainWindow() {
    const bool isNew = !fMainLoaded();
    FMain& f = fMain();
    SetMainForm(&f.form);
    if (isNew || !f.form.loaded) fMain_Load();
    ShowForm(f.form, false);
}
