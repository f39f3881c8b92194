#include "core/flight.h"

#include "core/random.h"
#include "core/twips.h"
#include "display/fmain.h"
#include "events/gauges.h"
#include "platform/backend.h"
#include "platform/trace.h"

#include <string>

using platform::GetAsyncKeyState;

long long g_framesFlown = 0;

namespace {

bool Held(int vkey) {
    return GetAsyncKeyState(vkey) != 0;
}

// Keys, gravity and the engine flames.
void SteerShip(float L, float T) {
    FMain& f = fMain();
    if (TimeLeft < 1) {
        // Out of time: the keys are dead and the ship falls; the side flame stays as it was.
        ShipVY = ShipVY + 1;
        f.iFunsha.hide();
        return;
    }
    if (Held(platform::VK_RIGHT)) {
        ShipVX = ShipVX + 1;
        f.iRocket.setPicture(f.iRockectDat[2].picture());
        f.iHFunsha.setPicture(f.iFunshaDat[2].picture());
        const double r1 = Rnd();
        const double r2 = Rnd();
        f.iHFunsha.move(float(L - 32 * TwipsX + r1 * 150 - 75), float(T + r2 * 50));
        f.iHFunsha.show();
    } else if (Held(platform::VK_LEFT)) {
        ShipVX = ShipVX - 1;
        f.iRocket.setPicture(f.iRockectDat[0].picture());
        f.iHFunsha.setPicture(f.iFunshaDat[0].picture());
        const double r1 = Rnd();
        const double r2 = Rnd();
        f.iHFunsha.move(float(L + 32 * TwipsX + r1 * 150 - 75), float(T + r2 * 50));
        f.iHFunsha.show();
    } else {
        f.iRocket.setPicture(f.iRockectDat[1].picture());
        f.iHFunsha.hide();
    }
    if (Held(platform::VK_SPACE)) {
        ShipVY = ShipVY - 2;
        const double r1 = Rnd();
        const double r2 = Rnd();
        f.iFunsha.move(float(L + r1 * 150 - 75), float(T + 32 * TwipsY + r2 * 50));
        f.iFunsha.show();
    } else {
        ShipVY = ShipVY + 1;
        f.iFunsha.hide();
    }
}

// The ship does not move on an axis where its next centre would leave the range; the right
// limit lies 16 pixels beyond the range's right edge, and there is no bottom limit.
void StopAtRangeEdges(float L, float T) {
    FMain& f = fMain();
    const Long cx = RoundLong(HalfOf(f.iRocket.width()) + (L + ShipVX));
    const Long cy = RoundLong(HalfOf(f.iRocket.height()) + (T + ShipVY));
    if (!(RangeLeft + 16 * TwipsX < cx && cx < RangeLeft + RangeWidth + 16 * TwipsX)) ShipVX = 0;
    if (!(cy > RangeTop + 16 * TwipsY)) ShipVY = 0;
}

void TraceFrame() {
    if (!platform::TraceEnabled()) return;
    FMain& f = fMain();
    std::string enemies = "[";
    for (Long i = 0; i < EnemyCount; ++i) {
        const auto* e = f.pEnemy.Find(Enemies[i].Sprite);
        if (i) enemies += ",";
        enemies += "[" + std::to_string(e ? RoundLong(e->left()) : 0) + "," +
                   std::to_string(e ? RoundLong(e->top()) : 0) + "]";
    }
    enemies += "]";
    platform::TraceEvent("frame")
        .add("n", std::int64_t(g_framesFlown))
        .add("round", RoundNo)
        .add("mode", Long(GameMode))
        .add("x", double(f.iRocket.left()))
        .add("y", double(f.iRocket.top()))
        .add("vx", ShipVX)
        .add("vy", ShipVY)
        .add("time", TimeLeft)
        .add("lives", Lives)
        .add("rescued", RescuedCount)
        .addRaw("enemies", enemies);
}

} // namespace

void FlyFrame() {
    FMain& f = fMain();
    float L = f.iRocket.left();
    float T = f.iRocket.top();

    // Camera: the ship's centre at the viewport's centre (from last frame's position).
    f.pScreen.move(float(HalfOf(f.pFrame.width()) - L - HalfOf(f.iRocket.width())),
                   float(HalfOf(f.pFrame.height()) - T - HalfOf(f.iRocket.height())));
    // Speed marker, from the velocity before this frame's change.
    f.lLine.setY1(float(SpeedMarkerY(ShipVY)));
    f.lLine.setY2(f.lLine.y1);

    SteerShip(L, T);
    StopAtRangeEdges(L, T);
    ProbeContacts();

    // The ship moves even when a probe has just ended the round.
    L = f.iRocket.left();
    T = f.iRocket.top();
    f.iRocket.move(L + float(ShipVX), T + float(ShipVY));
    MoveEnemies();
}

void PaceFrame(bool firstOfFlight) {
    if (!firstOfFlight) platform::WaitingForTick(std::uint32_t(LastFrameTick) + 10);
    do {
        FrameTick = Long(platform::GetTickCount());
        platform::DoEvents();
    } while (!firstOfFlight && Long(std::uint32_t(FrameTick) - std::uint32_t(LastFrameTick)) < 10);
    LastFrameTick = FrameTick;
    platform::DoEvents();
}

void RunFrameLoop() {
    // The frame flown before this one (if any) came before a countdown or a pause: long ago,
    // however the 32-bit difference to it reads (it comes out negative once the tick count has
    // passed 2^31 since), so the first frame is not held back.
    bool firstOfFlight = true;
    while (GameMode % 2 != 0) {
        FlyFrame();
        TraceFrame();
        ++g_framesFlown;
        PaceFrame(firstOfFlight);
        firstOfFlight = false;
    }
}
