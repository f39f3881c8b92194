#include "display/hit_test.h"

#include "display/fmain.h"

using platform::Control;
using platform::HoldsPixel;
using platform::PictureBox;
using platform::TwipsToPixels;

namespace {

struct PixelRect {
    int x, y, w, h;
    // Left and top edges inside, right and bottom edges outside.
    bool contains(Long px, Long py) const { return px >= x && px < x + w && py >= y && py < y + h; }
};

// In pixels the way the compositor places it, so that what is drawn in front is what is found.
PixelRect RectOf(const Control& c) {
    using platform::g_twipsX;
    using platform::g_twipsY;
    return {TwipsToPixels(c.left(), g_twipsX), TwipsToPixels(c.top(), g_twipsY),
            TwipsToPixels(c.width(), g_twipsX), TwipsToPixels(c.height(), g_twipsY)};
}

// The frontmost shown sprite at the point. Every picture box on the playfield is a sprite (the
// four arrays' elements and pGoal); the later created is in front, as it is drawn.
const PictureBox* SpriteAt(const PictureBox& playfield, Long x, Long y) {
    return static_cast<const PictureBox*>(playfield.childWindowAt(x, y));
}

// A message plate or a countdown digit shown over the window at that client pixel.
bool CoveredByPresentation(FMain& f, Long cx, Long cy) {
    if (f.pMessage.visible() && HoldsPixel(f.pMessage, cx, cy)) return true;
    for (int i = 0; i < 3; ++i) {
        const PictureBox* digit = f.pCount.Find(i);
        if (digit && digit->visible() && HoldsPixel(*digit, cx, cy)) return true;
    }
    return false;
}

} // namespace

WindowHandle WindowFromPlayfieldPoint(Long x, Long y) {
    if (!fMainLoaded()) return kOtherWindow;
    FMain& f = fMain();
    if (const PictureBox* sprite = SpriteAt(f.pScreen, x, y)) return sprite->handle();

    // Empty playfield only where the player sees the playfield: inside it, inside the shown
    // viewport, and not under a plate or digit laid over the viewport.
    if (!f.pFrame.visible() || !f.pScreen.visible()) return kOtherWindow;
    const PixelRect playfield = RectOf(f.pScreen);
    if (!PixelRect{0, 0, playfield.w, playfield.h}.contains(x, y)) return kOtherWindow;
    const PixelRect viewport = RectOf(f.pFrame);
    const Long cx = viewport.x + playfield.x + x;
    const Long cy = viewport.y + playfield.y + y;
    if (!viewport.contains(cx, cy)) return kOtherWindow;
    if (CoveredByPresentation(f, cx, cy)) return kOtherWindow;
    return f.pScreen.handle();
}
