// Key-to-picture timing, for the flight benchmark: with VEXARO_KEY_LATENCY naming a file, every
// key press is timed from its arrival to the present of the first picture made after the game
// read it, and written there as one line: "KEY READ_MS PRESENT_MS", both counted from the
// arrival. Without it, every call here returns at once.
#pragma once

namespace platform::latency {

// A key press came in from the desktop; it arrived `agoMs` milliseconds before now (the time
// it spent in the desktop's queue before the backend took it).
void KeyArrived(int vkey, double agoMs);
// GetAsyncKeyState told the game that the key is down or was pressed.
void KeyRead(int vkey);
// A picture went to the screen.
void Presented();

} // namespace platform::latency
