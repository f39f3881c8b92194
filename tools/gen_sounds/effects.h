// The game's five wave effects, synthesised from scratch.
#pragma once

#include "dsp.h"

namespace gensounds {

Samples MakeBeep();   // countdown beep
Samples MakeGet();    // energy capsule taken
Samples MakeThank();  // person rescued
Samples MakeBomb();   // the ship explodes
Samples MakeWave06(); // round cleared

} // namespace gensounds
