// A window's picture is composed only where something changed: every kind of change marks its
// place where it happens, and the picture composed from those places alone is the whole picture,
// pixel for pixel.
#include "platform/compose.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

using namespace platform;

constexpr int T = 15; // twips per pixel

TEST(Damage, MarkedTilesComeBackAsRectanglesThatDoNotOverlap) {
    Damage damage;
    bool whole = false;
    EXPECT_TRUE(damage.take(100, 60, whole).empty());
    EXPECT_TRUE(whole) << "a picture never drawn is drawn whole";

    damage.add({3, 3, 5, 5}, 100, 60);    // one tile
    damage.add({10, 0, 30, 20}, 100, 60); // tiles 1..3 of rows 0..2: joined with nothing above
    damage.add({95, 58, 200, 90}, 100, 60);
    const auto rects = damage.take(100, 60, whole);
    EXPECT_FALSE(whole);
    const std::vector<ClipRect> want{{0, 0, 32, 8}, {8, 8, 32, 24}, {88, 56, 100, 60}};
    EXPECT_EQ(rects, want);
    EXPECT_FALSE(damage.any()) << "taken, forgotten";

    damage.add({0, 0, 1, 1}, 120, 60);
    EXPECT_TRUE(damage.take(120, 60, whole).empty());
    EXPECT_TRUE(whole) << "a picture of another size is drawn whole";
}

// A window of 100 x 80 pixels with a menu bar, a box holding a sprite and a picture, a label, a
// gauge line and a frame shape.
struct Scene {
    Form form{"fDamage"};
    PictureBox view{"view"}, field{"field"}, sprite{"sprite"};
    Image image{"image"};
    Label label{"label"};
    Line gauge{"gauge"};
    Shape frame{"frame"};
    std::shared_ptr<Picture> red = Solid(0xFF0000, 6, 6), blue = Solid(0x0000FF, 8, 4);

    static std::shared_ptr<Picture> Solid(Pixel colour, int w, int h) {
        auto p = std::make_shared<Picture>();
        p->pixels.reset(w, h, colour);
        return p;
    }

    Scene() {
        g_twipsX = g_twipsY = T;
        form.menu.push_back(MenuItem{"mFile", "&File", false, true, true, {}, {}});
        form.setBackColor(0x101010);
        form.setClientSize(100 * T, 80 * T);
        view.setBackColor(0x203040);
        view.move(10 * T, 10 * T, 60 * T, 50 * T);
        view.clear();
        field.setBackColor(0x002000);
        field.move(-20 * T, -10 * T, 120 * T, 90 * T);
        field.clear();
        field.surface().fillRect(30, 30, 10, 10, 0x808000);
        sprite.setBackColor(0xC0C0C0);
        sprite.move(40 * T, 20 * T, 12 * T, 12 * T);
        sprite.clear();
        image.setPicture(red);
        image.move(20 * T, 40 * T);
        label.foreColor = 0xFFFF00;
        label.move(72 * T, 5 * T, 26 * T, 16 * T);
        label.setCaption("12");
        gauge.color = 0xFFFF00;
        gauge.borderWidth = 5;
        gauge.x1 = 72 * T;
        gauge.x2 = 96 * T;
        gauge.setY(40 * T, 40 * T);
        frame.borderColor = 0x00FFFF;
        frame.move(72 * T, 50 * T, 20 * T, 20 * T);
        form.add(view);
        view.add(field);
        field.add(sprite);
        field.add(image);
        form.add(label);
        form.add(gauge);
        form.add(frame);
        form.show();
    }
};

std::size_t AreaOf(const std::vector<ClipRect>& rects) {
    std::size_t pixels = 0;
    for (const ClipRect& r : rects)
        pixels += std::size_t(r.x1 - r.x0) * (r.y1 - r.y0);
    return pixels;
}

TEST(Damage, EveryChangeIsComposedWhereItHappenedAndNowhereElse) {
    Scene s;
    WindowPicture picture;
    ASSERT_EQ(AreaOf(picture.update(s.form)), std::size_t(100 * 100)) << "first drawn whole";
    const struct {
        const char* what;
        std::function<void()> change;
        std::size_t most; // pixels composed at most; 0: nothing at all
    } cases[] = {
        {"a sprite moved a little", [&] { s.sprite.move(43 * T, 21 * T); }, 2 * 24 * 24},
        {"a sprite moved to where it is", [&] { s.sprite.move(43 * T, 21 * T); }, 0},
        {"a sprite moved under less than a pixel", [&] { s.sprite.move(43 * T + 3, 21 * T); }, 0},
        {"a sprite drawn into", [&] { s.sprite.surface().set(2, 2, 0x123456); }, 8 * 8},
        {"a sprite's back colour", [&] { s.sprite.setBackColor(0x654321); }, 24 * 24},
        {"a picture changed", [&] { s.image.setPicture(s.blue); }, 24 * 16},
        {"the same picture again", [&] { s.image.setPicture(s.blue); }, 0},
        {"a sprite hidden", [&] { s.sprite.hide(); }, 24 * 24},
        {"a hidden sprite moved", [&] { s.sprite.move(30 * T, 20 * T); }, 0},
        {"a hidden sprite drawn into", [&] { s.sprite.surface().fill(0x00FF00); }, 0},
        {"a sprite shown", [&] { s.sprite.show(); }, 24 * 24},
        {"a caption changed", [&] { s.label.setCaption("7"); }, 32 * 24},
        {"the same caption", [&] { s.label.setCaption("7"); }, 0},
        {"a gauge moved", [&] { s.gauge.setY(30 * T, 30 * T); }, 2 * 32 * 16},
        {"the field scrolled", [&] { s.field.move(-25 * T, -12 * T); }, 64 * 56},
        {"a shape brought to the front", [&] { s.form.bringToFront(s.frame); }, 24 * 32},
        {"the field drawn into beyond the view", [&] { s.field.surface().set(1, 1, 0); }, 0},
        {"a sprite taken off the field", [&] { s.field.remove(s.sprite); }, 24 * 24},
        {"a sprite put back", [&] { s.field.add(s.sprite); }, 24 * 24},
        {"a whole box copied in", [&] { s.view.surface() = Surface(60, 50, 0x444444); }, 64 * 56},
        {"a change marked nowhere (a menu's check mark)", [] { MarkChanged(); }, 100 * 100},
    };
    FrameBuffer whole;
    for (const auto& c : cases) {
        c.change();
        const std::size_t composed = AreaOf(picture.update(s.form));
        EXPECT_LE(composed, c.most) << c.what;
        if (c.most > 0) {
            EXPECT_GT(composed, 0u) << c.what;
        }
        ComposeWindow(s.form, whole);
        ASSERT_EQ(picture.frame().pixels, whole.pixels) << c.what << ": a stale pixel";
    }
}

TEST(Damage, ALineDestroyedOrAHiddenWindowLeavesNoStalePixel) {
    Scene s;
    WindowPicture picture;
    picture.update(s.form);
    FrameBuffer whole;
    {
        Line mark{"mark"};
        mark.color = 0xFF00FF;
        mark.x1 = 5 * T;
        mark.x2 = 40 * T;
        mark.setY(70 * T, 70 * T);
        s.form.add(mark);
        picture.update(s.form);
    }
    picture.update(s.form);
    ComposeWindow(s.form, whole);
    EXPECT_EQ(picture.frame().pixels, whole.pixels) << "where the line was";

    s.view.hide();
    s.sprite.move(1 * T, 1 * T); // inside a hidden window: nothing to draw now
    s.view.show();
    picture.update(s.form);
    ComposeWindow(s.form, whole);
    EXPECT_EQ(picture.frame().pixels, whole.pixels) << "a window shown again";
}

} // namespace
