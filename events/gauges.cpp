#include "events/gauges.h"

#include "core/twips.h"
#include "display/fmain.h"

Long SpeedMarkerY(Long shipVY) {
    return HalfOf(fMain().pFunsha.height()) + shipVY * 32;
}

// 2 pixels per second from the top of the strip at 166 seconds. The scale is converted with the
// horizontal factor although the axis is vertical.
Long FuelMarkerY(Long timeLeft) {
    return 2 * (166 - timeLeft) * TwipsX;
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
    TimeLeft = TimeLeft - 1;
    FMain& f = fMain();
    f.lLineF.setY1(float(FuelMarkerY(TimeLeft)));
    f.lLineF.setY2(f.lLineF.y1);
}
