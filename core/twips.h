// The game's arithmetic on twip values: sizes and positions are Singles; "half of" a size rounds
// it to a Long and halves it truncating toward zero.
#pragma once

#include "core/game_state.h"
#include "platform/controls.h"

using platform::RoundLong;
inline Long HalfOf(double size) {
    return RoundLong(size) / 2;
}
// Twips to pixels: rounded to a Long, then divided truncating toward zero.
inline Long PixelsX(double twips) {
    return RoundLong(twips) / TwipsX;
}
inline Long PixelsY(double twips) {
    return RoundLong(twips) / TwipsY;
}
