// Start-up.
#pragma once

// The program's entry: shows the splash, refuses a second instance, records the executable's
// folder and the screen's twips per pixel, waits a second, shows the main window and closes the
// splash. From then on the game is driven by window events.
void Main();

// Puts everything back as when the program loads: the game state, the random sequence and the
// windows (used before each headless run).
void ResetProcessState();
