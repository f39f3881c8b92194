#include "events/contact.h"

#include "core/twips.h"
#include "display/fmain.h"
#include "events/gauges.h"
#include "platform/backend.h"
#include "sound/sound.h"

namespace {

bool TakeCapsule(WindowHandle hitWnd) {
    FMain& f = fMain();
    const int count = f.pEnergy.Count(); // taken once, before the loop
    for (int i = 1; i <= count - 1; ++i) {
        if (f.pEnergy[i].handle() != hitWnd) continue;
        f.pEnergy[i].hide();
        platform::DoEvents();
        if (Lives <= 8) Lives = Lives + 1;
        ShowLives();
        PlaySoundFile("get.wav", 1);
        return true;
    }
    return false;
}

bool HitEnemy(WindowHandle hitWnd) {
    FMain& f = fMain();
    for (Long j = 0; j <= EnemyCount - 1; ++j) {
        if (f.pEnemy[Enemies[j].Sprite].handle() != hitWnd) continue;
        GameMode = kCrashed;
        return true;
    }
    return false;
}

bool RescuePerson(WindowHandle hitWnd) {
    FMain& f = fMain();
    for (Long k = 0; k <= RescueCount - 1; ++k) {
        const Long n = Rescues[k].Sprite;
        platform::PictureBox& person = f.pResq[n];
        if (person.handle() != hitWnd) continue;
        person.hide();
        PlaySoundFile("thank.wav", 1);
        // The cell comes from where the sprite stands, counted as in the round file.
        StageObject entry;
        entry.Col = RoundLong(person.left()) / (32 * TwipsX) - 9;
        entry.Row = RoundLong(person.top()) / 32 / TwipsY - 7;
        Rescued.resize(std::size_t(RescuedCount) + 1);
        Rescued[RescuedCount] = entry;
        RescuedCount = RescuedCount + 1;
        RescuedTotal = RescuedTotal + 1;
        return true;
    }
    return false;
}

} // namespace

void ContactResponse(WindowHandle hitWnd, Long sideProbe) {
    if (sideProbe == kFalse && hitWnd == fMain().pGoal.handle() && ShipVY < kTouchdownSpeed) {
        GameMode = kRoundCleared;
        return;
    }
    if (TakeCapsule(hitWnd)) return;
    if (HitEnemy(hitWnd)) return;
    if (RescuePerson(hitWnd)) return;
    GameMode = kCrashed; // anything else: a rock, the pad the wrong way, outside the playfield
}
