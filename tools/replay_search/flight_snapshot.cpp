#include "tools/replay_search/flight_snapshot.h"

#include "display/fmain.h"
#include "platform/backend.h"

namespace replay {

namespace {

std::vector<std::uint8_t> ShownFlags(ControlArray<platform::PictureBox>& sprites) {
    std::vector<std::uint8_t> shown;
    for (int i = 1; i < sprites.Count(); ++i)
        shown.push_back(sprites[i].visible() ? 1 : 0);
    return shown;
}

void RestoreShown(ControlArray<platform::PictureBox>& sprites,
                  const std::vector<std::uint8_t>& shown) {
    for (std::size_t i = 0; i < shown.size(); ++i) {
        platform::PictureBox& sprite = sprites[int(i) + 1];
        if (sprite.visible() != (shown[i] != 0)) sprite.setVisible(shown[i] != 0);
    }
}

} // namespace

FlightSnapshot CaptureFlight() {
    FMain& f = fMain();
    FlightSnapshot s;
    s.shipLeft = f.iRocket.left();
    s.shipTop = f.iRocket.top();
    s.shipVX = ShipVX;
    s.shipVY = ShipVY;
    s.gameMode = GameMode;
    s.lives = Lives;
    s.timeLeft = TimeLeft;
    s.rescuedCount = RescuedCount;
    s.rescuedTotal = RescuedTotal;
    s.enemies.reserve(std::size_t(EnemyCount));
    for (Long i = 0; i < EnemyCount; ++i) {
        const StageObject& e = Enemies[std::size_t(i)];
        const platform::PictureBox& box = f.pEnemy[e.Sprite];
        s.enemies.push_back({box.left(), box.top(), e.StepX, e.StepY, e.Leg, e.Done});
    }
    s.capsulesShown = ShownFlags(f.pEnergy);
    s.peopleShown = ShownFlags(f.pResq);
    return s;
}

void RestoreFlight(const FlightSnapshot& s) {
    FMain& f = fMain();
    f.iRocket.move(s.shipLeft, s.shipTop);
    ShipVX = s.shipVX;
    ShipVY = s.shipVY;
    if (GameMode != s.gameMode) GameMode = s.gameMode;
    Lives = s.lives;
    TimeLeft = s.timeLeft;
    RescuedCount = s.rescuedCount;
    RescuedTotal = s.rescuedTotal;
    Rescued.resize(std::size_t(s.rescuedCount));
    for (std::size_t i = 0; i < s.enemies.size(); ++i) {
        StageObject& e = Enemies[i];
        const EnemySnapshot& saved = s.enemies[i];
        f.pEnemy[e.Sprite].move(saved.left, saved.top);
        e.StepX = saved.stepX;
        e.StepY = saved.stepY;
        e.Leg = saved.leg;
        e.Done = saved.done;
    }
    RestoreShown(f.pEnergy, s.capsulesShown);
    RestoreShown(f.pResq, s.peopleShown);
}

void HoldKeys(std::uint8_t keys) {
    // A fresh record each frame: no press left over from an earlier frame can count.
    platform::ResetKeys();
    if (keys & kKeyLeft) platform::KeyDownEvent(nullptr, platform::VK_LEFT);
    if (keys & kKeyRight) platform::KeyDownEvent(nullptr, platform::VK_RIGHT);
    if (keys & kKeySpace) platform::KeyDownEvent(nullptr, platform::VK_SPACE);
}

} // namespace replay
