// The main window's commands: its menu bar, its keys and its closing.
#pragma once

struct FMain;

// Connects the menu items, the key handler, the unload handler and the one-second timer.
void ConnectMainWindow(FMain& f);

void fMain_KeyDown(int KeyCode);
void fMain_Unload();
void mGameStop_Click();
void mGameEnd_Click();
void mSetZOrder_Click();
void mSetSound_Click();
void mHelpHelp_Click();
void mHelpAbout_Click();
