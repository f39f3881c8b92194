#include "shell/commands.h"

#include "core/game_state.h"
#include "core/session.h"
#include "display/fmain.h"
#include "events/gauges.h"
#include "platform/backend.h"
#include "shell/fabout.h"
#include "shell/help.h"

using namespace platform;

namespace {
MenuItem& Item(const char* name) {
    return *fMain().form.findMenuItem(name);
}
} // namespace

void fMain_KeyDown(int KeyCode) {
    switch (KeyCode) {
    case VK_ESCAPE: // minimise, and pause whatever the mode when a game runs
        fMain().form.windowState = 1;
        MarkChanged();
        if (GameMode != kNoGame) GameMode = kPaused;
        break;
    case VK_RETURN:
        if (GameMode == kFlying) GameMode = kPaused;
        break;
    case VK_SPACE: // starts a game; during flight Space is the engine, read by polling
        if (GameMode == kNoGame) mGameStart_Click();
        break;
    default:
        break;
    }
}

void fMain_Unload() {
    GameMode = kNoGame;
    EndProcess(0);
}

void mGameStop_Click() {
    MenuItem& item = Item("mGameStop");
    if (item.checked) {
        item.caption = "停止";
        item.checked = false;
        GameMode = kFlying;
        SendKeys("{Enter}"); // ends the pause wait
    } else {
        item.caption = "再開";
        item.checked = true;
        GameMode = kPaused;
    }
    MarkChanged();
}

void mGameEnd_Click() {
    if (MsgBox("Vexaro!!を終了しますか？", vbYesNo, "Vexaro!!") == vbYes) EndProcess(0);
}

void mSetZOrder_Click() {
    MenuItem& item = Item("mSetZOrder");
    fMain().form.topmost = !item.checked;
    item.checked = !item.checked;
    MarkChanged();
}

void mSetSound_Click() {
    MenuItem& item = Item("mSetSound");
    item.checked = !item.checked;
    SoundOff = item.checked ? kTrue : kFalse;
    MarkChanged();
}

void mHelpHelp_Click() {
    const std::string path = AppDir + "Help.hlp";
    if (!FileExists(path)) {
        MsgBox("ヘルプファイルが見つかりません", vbOKOnly);
        return;
    }
    if (!ShowHelpContents(path)) MsgBox("ヘルプファイルを読み込めません", vbOKOnly);
}

void mHelpAbout_Click() {
    ShowAbout(true);
}

void ConnectMainWindow(FMain& f) {
    f.form.onKeyDown = fMain_KeyDown;
    f.form.onUnload = fMain_Unload;
    f.tLastSec.onTimer = tLastSec_Timer;
    f.form.findMenuItem("mGameStart")->onClick = mGameStart_Click;
    f.form.findMenuItem("mGameStop")->onClick = mGameStop_Click;
    f.form.findMenuItem("mGameEnd")->onClick = mGameEnd_Click;
    f.form.findMenuItem("mSetZOrder")->onClick = mSetZOrder_Click;
    f.form.findMenuItem("mSetSound")->onClick = mSetSound_Click;
    f.form.findMenuItem("mHelpHelp")->onClick = mHelpHelp_Click;
    f.form.findMenuItem("mHelpAbout")->onClick = mHelpAbout_Click;
}
