#include "core/random.h"
#include "core/twips.h"
#include "core/waits.h"
#include "display/fmain.h"
#include "events/presentation.h"
#include "platform/trace.h"
#include "sound/sound.h"

void ExplodeShip() {
    FMain& f = fMain();
    f.iRocket.hide();
    const Long cx = RoundLong(f.iRocket.left() + HalfOf(f.iRocket.width()));
    const Long cy = RoundLong(f.iRocket.top() + HalfOf(f.iRocket.height()));
    for (int i = 0; i < 2; ++i)
        f.iExplode[i].move(float(cx - 16 * TwipsX), float(cy - 16 * TwipsY), float(32 * TwipsX),
                           float(32 * TwipsX));
    PlaySoundFile("bomb.wav", 1);

    // Smoke on the even steps, fire on the odd ones; each square 30 pixels larger than the
    // last, its corner jittered right and down by up to 32 pixels.
    Long s = 0;
    bool t = false;
    for (int k = 0; k <= 20; ++k) {
        t = !t;
        const double r1 = Rnd();
        const double r2 = Rnd();
        platform::Image& active = f.iExplode[t ? 1 : 0];
        platform::Image& other = f.iExplode[t ? 0 : 1];
        const float size = float(2 * (16 * TwipsX + s));
        active.move(float((cx - s) + r1 * 32 * TwipsX), float((cy - s) + r2 * 32 * TwipsY), size,
                    size);
        active.show();
        other.hide();
        platform::TraceEvent("explode")
            .add("k", k)
            .add("image", t ? 1 : 0)
            .add("x", double(active.left()))
            .add("y", double(active.top()))
            .add("size", double(size));
        WaitMilliseconds(30);
        s = s + 15 * TwipsX;
    }
    f.iExplode[0].hide();
    f.iExplode[1].hide();
}
