#include "platform/sdl/hit_test.h"

#include "platform/compose.h"

namespace platform::sdl {

namespace {

int Px(double twips) {
    return TwipsToPixels(twips, g_twipsX);
}
int Py(double twips) {
    return TwipsToPixels(twips, g_twipsY);
}

bool TakesMouse(const Control& c) {
    return c.kind() == ControlKind::Image || c.kind() == ControlKind::Label;
}

// (x, y) is relative to the box's top-left corner and already inside it.
Control* FrontmostIn(PictureBox& box, int x, int y) {
    if (Control* c = box.childWindowAt(x, y))
        return FrontmostIn(*static_cast<PictureBox*>(c), x - Px(c->left()), y - Py(c->top()));
    const auto& windowless = box.windowlessChildren();
    for (auto it = windowless.rbegin(); it != windowless.rend(); ++it) {
        Control* c = *it;
        if (c->visible() && TakesMouse(*c) && HoldsPixel(*c, x, y)) return c;
    }
    return &box;
}

} // namespace

Control* ControlAt(Form& form, int x, int y) {
    if (x < 0 || y < 0 || x >= ClientPixelWidth(form) || y >= ClientPixelHeight(form))
        return nullptr;
    Control* found = FrontmostIn(form, x, y);
    return found == &form ? nullptr : found;
}

} // namespace platform::sdl
