#include "platform/sdl/gamepad.h"

#include "platform/sdl/session.h"

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <vector>

namespace platform::sdl {

namespace {

struct OpenPad {
    SDL_JoystickID id;
    SDL_GameController* controller;
    PadInput input;
};

// Never destroyed: the process ends without unwinding (see events_sdl.cpp).
std::vector<OpenPad>& g_pads = *new std::vector<OpenPad>;
// The keys the pads hold in the game's key record, as bits of kPadKeys.
unsigned g_held = 0;

OpenPad* PadById(SDL_JoystickID id) {
    for (OpenPad& pad : g_pads)
        if (pad.id == id) return &pad;
    return nullptr;
}

// The form a pad's keys go to: the main window, unless a modal window stands in front of it or
// a menu is open, as for the keyboard.
Form* PadTarget() {
    if (!MainWindow() || ModalUp() || MenuActive()) return nullptr;
    return MainForm();
}

// Brings the game's key record in line with what the pads hold now: releases first, then
// presses. The record is brought up to date before any handler runs, since a press may start a
// whole game inside its handler, and that game reads the pads again.
void Apply() {
    unsigned now = 0;
    for (const OpenPad& pad : g_pads)
        now |= HeldKeyBits(pad.input);
    Form* target = PadTarget();
    const unsigned released = g_held & ~now;
    const unsigned pressed = target ? now & ~g_held : 0; // no window for it: the press is lost
    g_held = (g_held & ~released) | pressed;
    for (int k = 0; k < int(std::size(kPadKeys)); ++k)
        if (released & (1u << k)) KeyUpEvent(kPadKeys[k], KeySource::Gamepad);
    for (int k = 0; k < int(std::size(kPadKeys)); ++k)
        if (pressed & (1u << k)) KeyDownEvent(target, kPadKeys[k], KeySource::Gamepad);
}

void Added(int deviceIndex) {
    if (!SDL_IsGameController(deviceIndex)) return;
    if (PadById(SDL_JoystickGetDeviceInstanceID(deviceIndex))) return; // announced twice
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (!controller) return;
    const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
    g_pads.push_back({id, controller, {}});
}

void Removed(SDL_JoystickID id) {
    OpenPad* pad = PadById(id);
    if (!pad) return;
    SDL_GameController* controller = pad->controller;
    g_pads.erase(g_pads.begin() + (pad - g_pads.data()));
    SDL_GameControllerClose(controller);
    Apply(); // whatever it held is let go: the ship never keeps thrusting
}

void Button(SDL_JoystickID id, Uint8 button, bool down) {
    OpenPad* pad = PadById(id);
    if (!pad) return;
    switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
        pad->input.dpadLeft = down;
        break;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
        pad->input.dpadRight = down;
        break;
    case SDL_CONTROLLER_BUTTON_A:
        pad->input.south = down;
        break;
    case SDL_CONTROLLER_BUTTON_START:
        pad->input.start = down;
        break;
    default:
        return;
    }
    Apply();
}

void Axis(SDL_JoystickID id, Uint8 axis, int value) {
    OpenPad* pad = PadById(id);
    if (!pad || axis != SDL_CONTROLLER_AXIS_LEFTX) return;
    pad->input.stick = StickDirection(pad->input.stick, value);
    Apply();
}

} // namespace

int StickDirection(int previous, int x) {
    if (x <= -kStickPress) return -1;
    if (x >= kStickPress) return 1;
    if (previous != 0 && std::abs(x) > kStickRelease && (x < 0) == (previous < 0)) return previous;
    return 0;
}

unsigned HeldKeyBits(const PadInput& input) {
    const bool held[] = {input.dpadLeft || input.stick < 0, input.dpadRight || input.stick > 0,
                         input.south, input.start};
    unsigned bits = 0;
    for (int k = 0; k < int(std::size(held)); ++k)
        if (held[k]) bits |= 1u << k;
    return bits;
}

void StartGamepads() {
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
        std::fprintf(stderr, "Vexaro!!: no gamepads (%s); the keyboard plays\n", SDL_GetError());
}

// Without the subsystem SDL sends none of these.
void GamepadEvent(const SDL_Event& e) {
    switch (e.type) {
    case SDL_CONTROLLERDEVICEADDED:
        Added(e.cdevice.which);
        break;
    case SDL_CONTROLLERDEVICEREMOVED:
        Removed(e.cdevice.which);
        break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        Button(e.cbutton.which, e.cbutton.button, e.type == SDL_CONTROLLERBUTTONDOWN);
        break;
    case SDL_CONTROLLERAXISMOTION:
        Axis(e.caxis.which, e.caxis.axis, e.caxis.value);
        break;
    default:
        break;
    }
}

int GamepadCount() {
    return int(g_pads.size());
}

} // namespace platform::sdl
