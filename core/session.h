// A game from the Start command to its end: rounds, attempts, and what follows each flight.
#pragma once

// The Start command (menu item mGameStart, or Space when no game runs). Returns when the game
// is over.
void mGameStart_Click();

// The rounds of one game: called only by the Start command.
void RunSession();
