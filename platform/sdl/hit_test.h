// Which control of a window lies under the mouse.
#pragma once

#include "platform/controls.h"

namespace platform::sdl {

// The frontmost visible control of the form at client pixel (x, y): child windows before
// windowless controls, later siblings before earlier ones, each box clipping its children.
// Lines and shapes take no clicks. nullptr for the bare background (or outside the client area).
Control* ControlAt(Form& form, int x, int y);

} // namespace platform::sdl
