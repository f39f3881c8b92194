#include "core/flight.h"

#include "core/twips.h"
#include "display/fmain.h"
#include "display/hit_test.h"
#include "events/contact.h"

namespace {
Long Sign(Long v) {
    return v > 0 ? 1 : v < 0 ? -1 : 0;
}
} // namespace

void ProbeContacts() {
    FMain& f = fMain();
    // The ship's centre pixel on the playfield, where the camera keeps the viewport's centre.
    const Long ox =
        RoundLong(f.iRocket.left() + HalfOf(f.iRocket.width())) / TwipsX + kProbeBorderOffset;
    const Long oy =
        RoundLong(f.iRocket.top() + HalfOf(f.iRocket.height())) / TwipsY + kProbeBorderOffset;
    const Long sx = 16 * Sign(ShipVX);
    const Long sy = 16 * Sign(ShipVY);
    const WindowHandle playfield = f.pScreen.handle();

    // Both probes, always; the later response wins.
    WindowHandle h = WindowFromPlayfieldPoint(ox + sx, oy);
    if (h != playfield) ContactResponse(h, kTrue);
    h = WindowFromPlayfieldPoint(ox, oy + sy);
    if (h != playfield) ContactResponse(h, kFalse);
}
