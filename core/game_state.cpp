#include "core/game_state.h"

#include "platform/trace.h"

GameModeVariable GameMode;
Long LastFrameTick = 0;
Long FrameTick = 0;
std::string AppDir;
Long ShipVX = 0;
Long ShipVY = 0;
Long Lives = 0;
Long TwipsX = 0;
Long TwipsY = 0;
Long RoundNo = 0;
Long TimeLeft = 0;
Long RangeLeft = 0;
Long RangeTop = 0;
Long RangeWidth = 0;
Long RangeHeight = 0;
Long SoundOff = 0;
std::vector<StageObject> Enemies;
Long EnemyCount = 0;
std::vector<StageObject> Rescues;
Long RescueCount = 0;
std::vector<StageObject> Rescued;
Long RescuedCount = 0;
Long RescuedTotal = 0;
CollisionGrid Grid{};
Long g_firstRound = 1;

GameModeVariable& GameModeVariable::operator=(Long value) {
    if (value != value_) platform::TraceEvent("mode").add("from", value_).add("to", value);
    value_ = value;
    return *this;
}

void ResetGameState() {
    GameMode = GameModeVariable{};
    LastFrameTick = FrameTick = 0;
    AppDir.clear();
    ShipVX = ShipVY = Lives = TwipsX = TwipsY = RoundNo = TimeLeft = 0;
    RangeLeft = RangeTop = RangeWidth = RangeHeight = SoundOff = 0;
    Enemies.clear();
    Rescues.clear();
    Rescued.clear();
    EnemyCount = RescueCount = RescuedCount = RescuedTotal = 0;
    Grid.fill(0);
}
