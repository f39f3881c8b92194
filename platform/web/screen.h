// The browser has one canvas for the whole game. SDL runs without a display of its own (its
// "dummy" video driver keeps every window's pixels in memory), and this part shows the windows
// on the canvas, in their stacking order, and hands the page's keys and clicks to the window
// they are for, as a desktop's window system would.
#pragma once

#include <SDL.h>

namespace platform::web {

// Listens to the page's keyboard, mouse and focus; before SDL starts.
void StartInput();

// The window's pixels changed: the canvas shows them at the next ShowChanges.
void NoteUpdated(SDL_Window* window);

// Draws the canvas anew when a window changed, opened, moved or went.
void ShowChanges();

} // namespace platform::web
