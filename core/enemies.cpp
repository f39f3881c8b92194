#include "core/flight.h"

#include "core/twips.h"
#include "display/fmain.h"

#include <cmath>

bool IsWallAt(double x, double y) {
    const Long column = RoundLong(x) / 32 / TwipsX;
    const Long row = RoundLong(y) / 32 / TwipsY;
    if (column < 0 || row < 0 || column >= kGridSize || row >= kGridSize) return true;
    return Grid[std::size_t(row) * kGridSize + column] != 0;
}

namespace {

// Patrol probes lie one pixel inside the sprite for a leftward or upward step and on the first
// pixel beyond it for a rightward or downward one.
double PatrolProbeOffset(Long step, Long twips) {
    return step < 0 ? twips : step > 0 ? 32.0 * twips : 0.0;
}
// Path followers look one pixel outside the sprite on a leftward or upward leg.
double FollowerProbeOffset(Long step, Long twips) {
    return step < 0 ? -twips : step > 0 ? 32.0 * twips : 0.0;
}

void MoveHorizontalPatrol(StageObject& e, platform::PictureBox& box) {
    const float EL = box.left(), ET = box.top();
    if (IsWallAt(EL + PatrolProbeOffset(e.StepX, TwipsX), ET)) e.StepX = -e.StepX;
    box.move(EL + float(e.StepX), box.top());
}

void MoveVerticalPatrol(StageObject& e, platform::PictureBox& box) {
    const float EL = box.left(), ET = box.top();
    if (IsWallAt(EL, ET + PatrolProbeOffset(e.StepY, TwipsY))) e.StepY = -e.StepY;
    box.move(box.left(), ET + float(e.StepY));
}

void MovePathFollower(StageObject& e, platform::PictureBox& box) {
    if (e.PathX.size() < 4 || e.PathY.size() < 4) return;
    const float EL = box.left(), ET = box.top();
    const Long s = e.Leg & 3;
    const Long px = e.PathX[s], py = e.PathY[s];
    // A blocked follower turns to its next leg and moves along it in the same frame.
    if (IsWallAt(EL + FollowerProbeOffset(px, TwipsX), ET + FollowerProbeOffset(py, TwipsY)))
        e.Leg = (e.Leg + 1) & 3;
    box.move(EL + float(e.PathX[e.Leg & 3]), ET + float(e.PathY[e.Leg & 3]));
}

void MoveDropper(StageObject& e, platform::PictureBox& box) {
    if (e.Done != 0) return;
    const FMain& f = fMain();
    const float EL = box.left(), ET = box.top();
    const Long d = RoundLong(double(f.iRocket.top()) - ET);
    const bool near = std::fabs(double(f.iRocket.left()) - EL) < 32.0 * TwipsX;
    // Hangs still until the ship is close below it; from then on it falls faster and faster.
    if ((0 < d && d < 160 * TwipsY && near) || e.StepY != 0) e.StepY = e.StepY + 2;
    box.move(EL, ET + float(e.StepY));
    if (box.top() > RangeTop + RangeHeight) e.Done = kTrue;
}

} // namespace

void MoveEnemies() {
    FMain& f = fMain();
    for (Long i = 0; i <= EnemyCount - 1; ++i) {
        StageObject& e = Enemies[i];
        platform::PictureBox* box = f.pEnemy.Find(e.Sprite);
        if (!box) continue;
        switch (e.Kind) {
        case 1:
            MoveHorizontalPatrol(e, *box);
            break;
        case 2:
            MoveVerticalPatrol(e, *box);
            break;
        case 3:
        case 4:
            MovePathFollower(e, *box);
            break;
        case 5:
            MoveDropper(e, *box);
            break;
        default:
            break; // never moves
        }
    }
}
