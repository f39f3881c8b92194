// Every picture of the game, by the name of its file in assets/.
#pragma once

#include "canvas.h"

#include <cstdint>
#include <string>
#include <vector>

namespace art {

struct Artwork {
    std::string name; // file name, for example "pTitle.png"
    Canvas picture;
    bool withAlpha; // written with its own transparency (icons, vector drawings)
};

std::vector<Artwork> AllArtwork();

// Ship and engine (ships.cpp). Poses: 0 turned left, 1 front view, 2 turned right.
Canvas ShipIcon(int pose);
// The front-view ship drawn at `scale` pixels per icon pixel, its 32 x 32 box at (x, y).
void DrawShip(Canvas& canvas, double x, double y, double scale, int pose);
// Flames: 0 pointing right, 1 pointing down, 2 pointing left.
Canvas FlameIcon(int direction);
// A flame hanging from (centre, 0) of a size x size picture, `length` long and `width` wide.
Canvas DownFlame(int size, double centre, double length, double width, std::uint32_t seed);
Canvas FireBurst();
Canvas SmokeCloud();
Canvas HandCursor();

// Figures of the playfield (figures.cpp).
Canvas Astronaut(); // transparent around the figure
Canvas CapsuleFigure();
Canvas TwoPartSheet(const Canvas& figure); // picture on white above, its mask below
Canvas TemplateIcon(const Canvas& figure);
Canvas EnemyBlock();
Canvas GoalPad();

// Tiles (tiles.cpp).
Canvas RockTiles();
Canvas ShadeMask();

// Lettered pictures (banners.cpp, titles.cpp, ending.cpp).
Canvas Banner(int index);
Canvas CountDigit(int digit);
Canvas TitlePicture();
Canvas PanelTitle();
Canvas AboutLogo();
Canvas GaugeStrip(const std::string& caption);
Canvas EndingScene();
Canvas EndingCredits();

// The logotype's letters at a given height, shared by the title, the logo and the ending.
Canvas Logotype(int width, int height, int outline);

// The game's icon for the desktop's menus and launchers, size x size (desktop_icon.cpp), and
// the sizes it is drawn at, each in a file of its own.
Canvas DesktopIcon(int size);
constexpr int kDesktopIconSizes[] = {16, 32, 48, 64, 128, 256};
std::vector<Artwork> DesktopIcons(); // named "icons/vexaro-SIZE.png"

// Every picture at twice its size with its name under it (sheet.cpp).
Canvas ContactSheet(const std::vector<Artwork>& artwork);

} // namespace art
