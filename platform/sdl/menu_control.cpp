#include "platform/sdl/menu_control.h"

#include "platform/backend.h"
#include "platform/compose.h"
#include "platform/menubar.h"
#include "platform/sdl/keymap.h"

#include <cctype>

namespace platform::sdl {

namespace {

int AccessKey(const std::string& caption) {
    const MenuCaption parts = SplitCaption(caption);
    if (parts.key.size() != 1) return 0;
    return std::toupper(static_cast<unsigned char>(parts.key[0]));
}

bool IsSeparator(const MenuItem& item) {
    return item.caption == "-";
}

} // namespace

void MenuControl::setLook(int openTitle, int hot, bool focused) {
    g_menuBar.openTitle = openTitle;
    g_menuBar.hotItem = hot;
    g_menuBar.focused = focused;
    MarkChanged();
}

bool MenuControl::selectable(const Form& form, int title, int item) const {
    if (title < 0 || title >= int(form.menu.size())) return false;
    const auto& items = form.menu[title].items;
    if (item < 0 || item >= int(items.size())) return false;
    return items[item].visible && items[item].enabled && !IsSeparator(items[item]);
}

int MenuControl::nextItem(const Form& form, int title, int from, int step) const {
    const int n = int(form.menu[title].items.size());
    for (int i = 1; i <= n; ++i) {
        const int candidate = ((from + step * i) % n + n) % n;
        if (selectable(form, title, candidate)) return candidate;
    }
    return -1;
}

int MenuControl::nextTitle(const Form& form, int from, int step) const {
    const int n = int(form.menu.size());
    for (int i = 1; i <= n; ++i) {
        const int candidate = ((from + step * i) % n + n) % n;
        if (form.menu[candidate].visible) return candidate;
    }
    return from;
}

void MenuControl::focusBar(Form& form) {
    if (form.menu.empty()) return;
    active_ = true;
    chosenTitle_ = chosenItem_ = -1;
    setLook(-1, nextTitle(form, -1, 1), true);
}

bool MenuControl::openByAccessKey(Form& form, int vk) {
    for (int t = 0; t < int(form.menu.size()); ++t) {
        if (!form.menu[t].visible || AccessKey(form.menu[t].caption) != vk) continue;
        openTitle(form, t, true);
        return true;
    }
    return false;
}

void MenuControl::openTitle(Form& form, int title, bool selectFirst) {
    if (title < 0 || title >= int(form.menu.size())) return;
    active_ = true;
    chosenTitle_ = chosenItem_ = -1;
    // A disabled title drops down nothing, as on the desktop; it stays highlighted.
    const bool drops = form.menu[title].enabled;
    const int hot = drops && selectFirst ? nextItem(form, title, -1, 1) : -1;
    if (drops)
        setLook(title, hot, true);
    else
        setLook(-1, title, true);
}

void MenuControl::close() {
    active_ = false;
    pressed_ = false;
    setLook(-1, -1, false);
}

void MenuControl::choose(Form& form, int title, int item) {
    if (!selectable(form, title, item)) return; // disabled items and separators stay open
    close();
    chosenTitle_ = title;
    chosenItem_ = item;
}

MenuItem* MenuControl::takeChosen(Form& form) {
    const int t = chosenTitle_, i = chosenItem_;
    chosenTitle_ = chosenItem_ = -1;
    if (t < 0 || t >= int(form.menu.size()) || i < 0 || i >= int(form.menu[t].items.size()))
        return nullptr;
    return &form.menu[t].items[i];
}

void MenuControl::keyDown(Form& form, int vk) {
    if (!active_) return;
    const bool dropped = g_menuBar.openTitle >= 0;
    const int title = dropped ? g_menuBar.openTitle : g_menuBar.hotItem;
    switch (vk) {
    case VK_ESCAPE:
        if (dropped)
            setLook(-1, title, true); // back to the bar, the title still highlighted
        else
            close();
        return;
    case VK_MENU:
    case VK_F10:
        close();
        return;
    case VK_LEFT:
    case VK_RIGHT: {
        const int next = nextTitle(form, title, vk == VK_LEFT ? -1 : 1);
        if (dropped)
            openTitle(form, next, true);
        else
            setLook(-1, next, true);
        return;
    }
    case VK_UP:
    case VK_DOWN: {
        const int step = vk == VK_UP ? -1 : 1;
        if (!dropped) { // Down drops the menu at its first item, Up at its last
            if (title < 0 || !form.menu[title].enabled) return;
            setLook(title, nextItem(form, title, step > 0 ? -1 : 0, step), true);
            return;
        }
        const int next = nextItem(form, title, g_menuBar.hotItem, step);
        if (next >= 0) setLook(title, next, true);
        return;
    }
    case VK_RETURN:
        if (dropped)
            choose(form, title, g_menuBar.hotItem);
        else
            openTitle(form, title, true);
        return;
    default:
        break;
    }
    if (!IsAccessKeyCode(vk)) return;
    if (!dropped) {
        openByAccessKey(form, vk);
        return;
    }
    const auto& items = form.menu[title].items;
    for (int i = 0; i < int(items.size()); ++i)
        if (items[i].visible && !IsSeparator(items[i]) && AccessKey(items[i].caption) == vk) {
            if (items[i].enabled)
                choose(form, title, i);
            else
                setLook(title, i, true);
            return;
        }
}

int MenuControl::TitleAt(const Form& form, int x, int y) {
    if (y < 0 || y >= MenuBarPixelHeight(form)) return -1;
    const auto boxes = MenuTitleLayout(form);
    for (int t = 0; t < int(boxes.size()); ++t)
        if (x >= boxes[t].x0 && x < boxes[t].x1) return t;
    return -1;
}

int MenuControl::ItemAt(const Form& form, int title, int x, int y) {
    if (title < 0) return -1;
    const MenuDropLayout drop = MenuDropDownLayout(form, title);
    if (x < drop.x0 || x >= drop.x1) return -1;
    for (int i = 0; i < int(drop.items.size()); ++i)
        if (y >= drop.items[i].y0 && y < drop.items[i].y1) return i;
    return -1;
}

void MenuControl::mouseDown(Form& form, int x, int y) {
    pressed_ = true;
    const int title = TitleAt(form, x, y);
    if (title >= 0) {
        if (active_ && g_menuBar.openTitle == title) {
            close(); // a press on the open title folds it up
            return;
        }
        openTitle(form, title, false);
        return;
    }
    const int open = g_menuBar.openTitle;
    const MenuDropLayout drop = MenuDropDownLayout(form, open);
    const bool inDrop = open >= 0 && x >= drop.x0 && x < drop.x1 && y >= drop.y0 && y < drop.y1;
    if (!inDrop) close(); // a press anywhere else only closes the menu
}

void MenuControl::mouseMove(Form& form, int x, int y) {
    if (!active_) return;
    const int title = TitleAt(form, x, y);
    const int open = g_menuBar.openTitle;
    if (title >= 0) {
        // Across the titles: with a menu down (or the button held) the menu follows the mouse.
        if ((open >= 0 || pressed_) && title != open) openTitle(form, title, false);
        return;
    }
    if (open < 0) return;
    const int item = ItemAt(form, open, x, y);
    const bool isItem = item >= 0 && !IsSeparator(form.menu[open].items[item]);
    const int hot = isItem ? item : -1;
    if (hot != g_menuBar.hotItem) setLook(open, hot, true);
}

void MenuControl::mouseUp(Form& form, int x, int y) {
    const bool wasPressed = pressed_;
    pressed_ = false;
    if (!active_ || !wasPressed) return;
    // A release on an item chooses it (also at the end of a drag from the title); a release
    // anywhere else leaves the menu down to be browsed.
    const int open = g_menuBar.openTitle;
    const int item = ItemAt(form, open, x, y);
    if (item >= 0) choose(form, open, item);
}

} // namespace platform::sdl
