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
// usable area of the screen; at least 1.
int ChooseScale(int usableWidth, int usableHeight, int width = kReferenceWidth,
                int height = kReferenceHeight);

} // namespace platform::sdl
