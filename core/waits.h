// The game's waits: busy loops on the tick count that process window messages on every turn,
// so that the window repaints and its handlers keep running while the game waits.
#pragma once

#include "core/game_state.h"

// Returns after at least ms milliseconds of tick count; at least one message step even when ms
// is 0 or negative. A wrap of the tick count during the wait does no harm.
void WaitMilliseconds(Long ms);

// Waits up to `seconds` for the key (after first waiting for it to be released); returns
// kTrue when it was pressed in time, kFalse otherwise.
Long WaitForKey(Long seconds, Long vkey);
