#include "events/gauges.h"

#include "core/twips.h"
#include "display/fmain.h"

#include <algorithm>
#include <cstdint>
#include <limits>

Long SpeedMarkerY(Long shipVY) {
    return HalfOf(fMain().pFunsha.height()) + shipVY * 32;
}

// 2 pixels per second from the top of the strip at 166 seconds. The scale is converted with the
// horizontal factor although the axis is vertical. Worked out in 64 bits, since an allowance
// near either end of a Long would overflow the product; a marker that far off the strip is out
// of sight anyway and stays at kFarthestMarkerY, where its position is still exact as a float
// and no pixel arithmetic on it can overflow.
Long FuelMarkerY(Long timeLeft) {
    const std::int64_t y = 2 * (166 - std::int64_t(timeLeft)) * TwipsX;
    return Long(std::clamp<std::int64_t>(y, -kFarthestMarkerY, kFarthestMarkerY));
}

void ShowLives() {
    FMain& f = fMain();
    for (int i = 0; i <= 8; ++i)
        f.pDamege[i].hide();
    for (Long i = 0; i <= Lives - 1 && i <= 8; ++i)
        f.pDamege[i].show();
}

void PrepareRoundView() {
    FMain& f = fMain();
    f.pScreen.move(float(HalfOf(f.pFrame.width()) - f.iRocket.left() - HalfOf(f.iRocket.width())),
                   float(HalfOf(f.pFrame.height()) - f.iRocket.top() - HalfOf(f.iRocket.height())));
    f.iRocket.show();
    f.pScreen.show();
    const Long speed = HalfOf(f.pFunsha.height());
    f.lLine.setY1(float(speed));
    f.lLine.setY2(f.lLine.y1);
    f.lLineF.setY1(float(FuelMarkerY(TimeLeft)));
    f.lLineF.setY2(f.lLineF.y1);
    ShowLives();
    f.pPanel.show();
    f.pFrame.show();
    ShipVX = 0;
    ShipVY = 0;
}

void tLastSec_Timer() {
    // The time stops at the lowest Long instead of wrapping round to the highest, which would
    // bring the engines back to life and choose the wrong crash banner.
    if (TimeLeft > std::numeric_limits<Long>::min()) TimeLeft = TimeLeft - 1;
    FMain& f = fMain();
    f.lLineF.setY1(float(FuelMarkerY(TimeLeft)));
    f.lLineF.setY2(f.lLineF.y1);
}
