// Menu bar geometry, shared by its painter and by the backends' mouse and keyboard handling.
#pragma once

#include "platform/controls.h"

#include <string>
#include <vector>

namespace platform {

struct MenuCaption {
    std::string before, key, after; // key: the access key character, may be empty
};
MenuCaption SplitCaption(const std::string& caption);

FontSpec MenuFont();

struct MenuTitleBox {
    int x0, x1; // pixels, within the bar
};
std::vector<MenuTitleBox> MenuTitleLayout(const Form& form);

struct MenuItemBox {
    int y0, y1;
};
struct MenuDropLayout {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0; // window pixels (bar included)
    std::vector<MenuItemBox> items;
};
MenuDropLayout MenuDropDownLayout(const Form& form, int title);

} // namespace platform
