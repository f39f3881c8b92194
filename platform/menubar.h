// Menu bar geometry, shared by its painter and by the backends' mouse and keyboard handling.
#pragma once

#include "platform/controls.h"

#include <string>
#include <vector>

namespace platform {

// The classic desktop's colours, shared by the menu bar and the message box.
namespace classic {
constexpr Pixel kFace = Rgb(212, 208, 200);
constexpr Pixel kHighlight = Rgb(255, 255, 255);
constexpr Pixel kShadow = Rgb(128, 128, 128);
constexpr Pixel kDarkShadow = Rgb(64, 64, 64);
constexpr Pixel kText = Rgb(0, 0, 0);
constexpr Pixel kSelection = Rgb(10, 36, 106);
constexpr Pixel kSelectedText = Rgb(255, 255, 255);
} // namespace classic

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
