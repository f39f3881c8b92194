// How large the windows are drawn: every pixel of the game becomes a square of whole screen
// pixels, the same for every window, so that edges stay crisp.
#pragma once

namespace platform::sdl {

// The main window's picture, menu bar included: it decides the factor for every window, so the
// splash, the game and its message boxes look alike.
constexpr int kReferenceWidth = 621;
constexpr int kReferenceHeight = 397 + 20;

// Room the window manager's frame takes around a window (caption bar and borders).
constexpr int kFrameAllowanceX = 16;
constexpr int kFrameAllowanceY = 40;

// The largest whole factor at which a picture of width x height, with its frame, fits the
// usable area of the screen; at least 1. `displayScale` is the scaling the player chose for the
// display (1.5 at 150 %) where the system measures the screen in real pixels and draws the frame
// that much larger (Windows, to a program that scales itself); 1 elsewhere. A display large
// enough for its scaling gets at least that scaling rounded down, so the game is never smaller
// than the player asked for, and never larger than fits.
int ChooseScale(int usableWidth, int usableHeight, double displayScale = 1.0,
                int width = kReferenceWidth, int height = kReferenceHeight);

} // namespace platform::sdl
