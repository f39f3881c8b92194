// The game's shared state: the module-wide variables through which every part of the game
// talks to the others. They live for the whole process and start zero-filled.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

using Long = std::int32_t;

// Flags hold 0 for false and -1 for true.
constexpr Long kTrue = -1;
constexpr Long kFalse = 0;

// State of play. The frame loop runs while the value is odd, which only Flying is.
enum : Long {
    kNoGame = 0,
    kFlying = 1,
    kPaused = 2,
    kCrashed = 4,
    kRoundCleared = 8,
};

// GameMode is a plain Long to the game; every change of value is also written to the trace.
class GameModeVariable {
  public:
    operator Long() const { return value_; }
    GameModeVariable& operator=(Long value);

  private:
    Long value_ = 0;
};

// One record of the tables Enemies, Rescues and Rescued.
struct StageObject {
    Long Col = 0;
    Long Row = 0;
    Long Sprite = 0;
    Long Kind = 0;
    Long StepX = 0;
    Long StepY = 0;
    Long Leg = 0;
    std::vector<Long> PathX;
    std::vector<Long> PathY;
    Long Done = 0;
    Long Spare = 0;
};

// The collision grid: 233 x 233 cells of 32 pixels from the playfield's top-left corner;
// cell (column u, row v) is entry v * 233 + u; nonzero is a wall.
constexpr int kGridSize = 233;
using CollisionGrid = std::array<Long, kGridSize * kGridSize>;

extern GameModeVariable GameMode;
extern Long LastFrameTick;
extern Long FrameTick;
extern std::string AppDir;
extern Long ShipVX;
extern Long ShipVY;
extern Long Lives;
extern Long TwipsX;
extern Long TwipsY;
extern Long RoundNo;
extern Long TimeLeft;
extern Long RangeLeft;
extern Long RangeTop;
extern Long RangeWidth;
extern Long RangeHeight;
extern Long SoundOff;
extern std::vector<StageObject> Enemies;
extern Long EnemyCount;
extern std::vector<StageObject> Rescues;
extern Long RescueCount;
extern std::vector<StageObject> Rescued;
extern Long RescuedCount;
extern Long RescuedTotal;
extern CollisionGrid Grid;

// The round the Start command begins at: 1 in the game; vexaro-sim's --round changes it for
// testing.
extern Long g_firstRound;

// Puts every variable back to its state when the program loads (a new headless run).
void ResetGameState();
