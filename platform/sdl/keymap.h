// The desktop's keys as the game's virtual-key codes.
#pragma once

#include <SDL_keycode.h>

namespace platform::sdl {

// Virtual keys beyond the five the game reads: the menu bar and the message box use these.
constexpr int VK_BACK = 8;
constexpr int VK_TAB = 9;
constexpr int VK_SHIFT = 16;
constexpr int VK_CONTROL = 17;
constexpr int VK_MENU = 18; // Alt
constexpr int VK_UP = 38;
constexpr int VK_DOWN = 40;
constexpr int VK_F10 = 121;

// Letters and digits: the keys that can be access keys of menus and buttons.
constexpr bool IsAccessKeyCode(int vk) {
    return (vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9');
}

// The virtual key of a desktop key, or 0 for a key the game has no code for.
int VirtualKey(SDL_Keycode key);

} // namespace platform::sdl
