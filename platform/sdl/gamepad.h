// Gamepads, through SDL's game-controller API: any pad SDL's controller database knows works
// without settings, as a second source of the game's own keys. The D-pad and the left stick are
// Left and Right, the south button (A) is Space, Start is Enter. Pads can be plugged in and
// pulled out while the game runs; a pad that goes away lets go of every key it held.
#pragma once

#include "platform/backend.h"

#include <SDL.h>

namespace platform::sdl {

// Starts the game-controller support; pads already plugged in then arrive as "added" events.
// Without it the game plays on with the keyboard.
void StartGamepads();

// Takes a game-controller event (added, removed, button, axis); ignores any other event.
void GamepadEvent(const SDL_Event& event);

// How many pads are open. With one, the message step looks for input more often, since a pad
// does not wake it the way the display connection does.
int GamepadCount();

// --- the parts that need no device, for the tests --------------------------------------------

// The left stick across, with a dead zone: a direction is taken beyond kStickPress and kept
// until the stick comes back within kStickRelease, so a stick resting near the edge of the dead
// zone does not flicker. Returns -1 (left), 0 or 1 (right).
constexpr int kStickPress = 16000;
constexpr int kStickRelease = 10000;
int StickDirection(int previous, int x);

// What one pad holds.
struct PadInput {
    bool dpadLeft = false, dpadRight = false, south = false, start = false;
    int stick = 0; // StickDirection
};

// The game's keys a pad holds, as bits of kPadKeys.
constexpr int kPadKeys[] = {VK_LEFT, VK_RIGHT, VK_SPACE, VK_RETURN};
unsigned HeldKeyBits(const PadInput& input);

} // namespace platform::sdl
