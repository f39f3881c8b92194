// The menu bar at work, in the classic desktop manner: Alt or F10 puts the keyboard on the bar,
// access keys and the arrow keys move across titles and items, Enter chooses, Escape backs out;
// the mouse opens a title with a press, drags across titles and chooses with a release.
// Its look is g_menuBar, which the compositor draws.
#pragma once

#include "platform/controls.h"

namespace platform::sdl {

class MenuControl {
  public:
    // Puts the keyboard on the bar: the first title is highlighted, nothing drops down.
    void focusBar(Form& form);
    // Drops down the title whose access key is `vk` (a letter or digit); false when none has it.
    bool openByAccessKey(Form& form, int vk);
    // Drops down a title; with `selectFirst` its first choosable item is highlighted.
    void openTitle(Form& form, int title, bool selectFirst);
    // Leaves the bar without choosing.
    void close();

    bool active() const { return active_; }

    // A key pressed while the menu is active (virtual key).
    void keyDown(Form& form, int vk);
    // The mouse in window pixels, menu bar included.
    void mouseDown(Form& form, int x, int y);
    void mouseMove(Form& form, int x, int y);
    void mouseUp(Form& form, int x, int y);

    // The item chosen when the menu closed, taken once: its handler runs after the menu is gone.
    MenuItem* takeChosen(Form& form);

    // Geometry, exposed for the tests: the title or item under a window pixel (-1 for none).
    static int TitleAt(const Form& form, int x, int y);
    static int ItemAt(const Form& form, int title, int x, int y);

  private:
    bool selectable(const Form& form, int title, int item) const;
    int nextItem(const Form& form, int title, int from, int step) const;
    int nextTitle(const Form& form, int from, int step) const;
    void choose(Form& form, int title, int item);
    void setLook(int openTitle, int hot, bool focused);

    bool active_ = false;
    bool pressed_ = false; // the mouse button went down on the bar or in the menu
    int chosenTitle_ = -1, chosenItem_ = -1;
};

} // namespace platform::sdl
