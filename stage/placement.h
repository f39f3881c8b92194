// Small helpers the building steps share: pixel counts in twips, and the tables' growth.
#pragma once

#include "core/game_state.h"
#include "display/sprites.h"

#include <vector>

// Twips of a pixel count, horizontally and vertically.
inline float Tx(Long pixels) {
    return float(pixels * TwipsX);
}
inline float Ty(Long pixels) {
    return float(pixels * TwipsY);
}

// Places a sprite at a pixel offset from the range's top-left corner; its size stays.
inline void PlaceOnRange(platform::PictureBox& sprite, Long px, Long py) {
    MoveSprite(sprite, float(RangeLeft) + Tx(px), float(RangeTop) + Ty(py));
}

// Grows a table to hold index `count`, keeping what it holds; it never shrinks, so a record
// written over keeps the fields an earlier load left in it.
inline void GrowTable(std::vector<StageObject>& table, Long count) {
    if (Long(table.size()) < count + 1) table.resize(std::size_t(count) + 1);
}
