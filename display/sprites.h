// The run-time sprites of the playfield: elements 1, 2, ... of pRock, pEnemy, pEnergy and pResq,
// made from element 0 and removed again when the next stage is built.
#pragma once

#include "display/control_array.h"
#include "platform/controls.h"

using SpriteArray = ControlArray<platform::PictureBox>;

// Makes element Count() as a hidden copy of element 0: its picture, size, back colour,
// persistence and container. A new element lies in front of every earlier sprite, for drawing
// and for the point lookup alike. Returns the new element's index.
int CreateSprite(SpriteArray& array);

// Removes the elements 1 .. Count() - 1, in increasing order; element 0 stays.
void RemoveSprites(SpriteArray& array);

// Places a sprite, in twips on the playfield.
void MoveSprite(platform::PictureBox& sprite, float left, float top);
void MoveSprite(platform::PictureBox& sprite, float left, float top, float width, float height);
