// The compositor leaves out what a child window will paint over anyway; the picture must be the
// same as if everything were painted back to front: the box, its windowless children, then its
// child windows, each clipped to its container.
#include "platform/compose.h"

#include <gtest/gtest.h>

namespace {

using namespace platform;

constexpr int T = 15; // twips per pixel

constexpr Pixel kBox = 0x112233, kBoxBack = 0x445566, kFront = 0xAA0000, kBack = 0x00AA00,
                kHidden = 0x0000AA, kImage = 0xFFFF00;

// A box of 40 x 30 pixels whose surface is only 30 pixels wide (its back colour shows beyond),
// with a windowless image, and child windows that overlap the image, each other and its edge.
struct Scene {
    PictureBox box{"box"}, back{"back"}, front{"front"}, hidden{"hidden"};
    Image image{"image"};

    Scene() {
        box.setBackColor(kBoxBack);
        box.move(0, 0, 40 * T, 30 * T);
        box.surface().reset(30, 30, kBox);
        auto picture = std::make_shared<Picture>();
        picture->pixels.reset(10, 10, kImage);
        image.setPicture(picture);
        image.move(2 * T, 2 * T);
        Place(back, kBack, 8, 5, 12, 10);   // over the image's right part
        Place(front, kFront, 15, 8, 40, 4); // over back, and beyond the box's right edge
        Place(hidden, kHidden, 0, 20, 40, 10);
        hidden.hide(); // hidden: it covers nothing
        box.add(image);
        box.add(back);
        box.add(front);
        box.add(hidden);
    }
    static void Place(PictureBox& b, Pixel colour, int x, int y, int w, int h) {
        b.setBackColor(colour);
        b.move(float(x * T), float(y * T), float(w * T), float(h * T));
        b.clear();
    }
};

Pixel Expected(int x, int y) {
    const auto in = [&](int x0, int y0, int w, int h) {
        return x >= x0 && y >= y0 && x < x0 + w && y < y0 + h;
    };
    if (in(15, 8, 40, 4)) return kFront;
    if (in(8, 5, 12, 10)) return kBack;
    if (in(2, 2, 10, 10)) return kImage;
    return x < 30 ? kBox : kBoxBack;
}

TEST(Compose, ChildWindowsOverTheBoxAndItsImagesAsIfPaintedBackToFront) {
    g_twipsX = g_twipsY = T;
    const struct {
        const char* what;
        int boxX, boxY;
        ClipRect clip;
    } cases[] = {
        {"the whole box, away from the frame's corner", 5, 4, {0, 0, 50, 40}},
        {"a clip leaves everything outside it alone", 0, 0, {10, 6, 25, 12}},
    };
    for (const auto& c : cases) {
        Scene scene;
        FrameBuffer out;
        out.width = 50;
        out.height = 40;
        out.pixels.assign(std::size_t(out.width) * out.height, 0x777777);
        ComposeBox(scene.box, c.boxX, c.boxY, c.clip, out);
        for (int y = 0; y < out.height; ++y)
            for (int x = 0; x < out.width; ++x) {
                const int bx = x - c.boxX, by = y - c.boxY;
                const bool drawn = x >= c.clip.x0 && y >= c.clip.y0 && x < c.clip.x1 &&
                                   y < c.clip.y1 && bx >= 0 && by >= 0 && bx < 40 && by < 30;
                ASSERT_EQ(out.at(x, y), drawn ? Expected(bx, by) : 0x777777)
                    << c.what << ": frame pixel " << x << ", " << y;
            }
    }
}

} // namespace
