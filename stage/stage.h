// The stage: reading a round file and building the round from it: the playfield picture, the
// collision grid, the sprites and the object tables.
#pragma once

#include "core/game_state.h"
#include "platform/controls.h"
#include "stage/round_file.h"

#include <string>

// Where the playable range sits on the playfield, in pixels (9 cells in, 7 cells down).
constexpr Long kRangeLeftPixels = 288;
constexpr Long kRangeTopPixels = 224;
constexpr Long kCellPixels = 32;
// Grid value of cells outside the range, of open space, and of rock.
constexpr Long kGridOutside = 99;
constexpr Long kGridOpen = 0;
constexpr Long kGridRock = 1;

// --- reading ---------------------------------------------------------------------------------

// Reads round n from rnd_dat/ beside the game and builds it. A missing file, or one that is not
// whole and sound, gets a message box and leaves the previous stage as it stands (the object
// counts are emptied all the same). n is not changed.
void LoadRound(const Long& n);

// "R" + n + ".dat.rnd" under "rnd_dat/" in AppDir.
std::string RoundFilePath(Long n);

// Builds a round from records already checked by the reader: the preparation, then each record
// in file order. (LoadRound's steps 3 to 5.)
void BuildStage(const RoundFileContents& contents);

// --- the stage builder -------------------------------------------------------------------------

void UnloadStageSprites();
void BuildRecord(const RoundRecord& record);

void BuildRoundRange(Long w, Long h, Long colour, Long stars, Long seconds);
void BuildRock(Long x1, Long y1, Long x2, Long y2, Long tile);
void BuildMyShip(Long x, Long y);
void BuildGoal(Long x, Long y);
void BuildEnergy(Long x, Long y);
void BuildResq(Long x, Long y);
void BuildBmpBox(Long x1, Long y1, Long x2, Long y2, Long tile, Long shade);

// Pixel positions and sizes relative to the range's top-left corner.
void CreateRock(Long px, Long py, Long pw, Long ph, Long tile);
void CreateEnergy(Long px, Long py);
Long CreateRescue(Long px, Long py);

// --- enemy placement -----------------------------------------------------------------------------

// Creates the sprite, appends the record to Enemies and returns its index there.
Long CreateEnemy(Long kind, Long px, Long py);
void BuildEnemy1(Long x, Long y, Long a, Long s);
void BuildEnemy2(Long x, Long y, Long a, Long s);
void BuildEnemy3(Long x, Long y, Long a, Long s);
void BuildEnemy4(Long x, Long y, Long a, Long s);
void BuildEnemy5(Long x, Long y);

// --- painting ----------------------------------------------------------------------------------

// The round's colour over the playfield, leaving the 32-twip strips at the right and bottom.
void FillBackground(Long colour);
// 50001 points from the random source scattered over w x h twips, drawn where they land on
// the playfield.
void DrawStarfield(Long left, Long top, Long w, Long h);
// Fills the box with tile 1..6 of the tile sheet, whole tiles from its top-left corner.
void FillRockTiles(Long tile, platform::PictureBox& box);
// Copies tile 1..6 to playfield pixel (x, y), shaded by the checkerboard when shade is -1.
void PaintBackgroundTile(Long x, Long y, Long tile, Long shade);
// A capsule or person picture over the playfield picture at (x, y): image XOR (mask AND NOT
// background), from a two-part sheet (image above, mask below).
void ComposeSpritePicture(platform::PictureBox& sprite, const platform::PictureBox& sheet, Long x,
                          Long y);
// The 16 colours of the stars.
platform::Pixel StarColour(Long k);
