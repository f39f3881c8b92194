// A container with many child windows draws and answers the point lookup from an index of where
// they lie, leaving out children hidden behind others: the picture and the answers must be those
// of looking at every child, back to front.
#include "platform/compose.h"
#include "platform/controls.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

using namespace platform;

namespace {

class ManyChildren : public ::testing::Test {
  protected:
    void SetUp() override {
        g_twipsX = g_twipsY = 15;
        field_.setBackColor(0x00404080);
        field_.move(0, 0, 900 * 15, 700 * 15);
        field_.surface().reset(900, 700, 0x00102030);
        field_.surface().fillRect(100, 100, 300, 200, 0x00FFFF00);
        for (int i = 0; i < 300; ++i)
            add();
    }

    int any(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random_); }

    // A child of any size, mostly sprites of 32 pixels on the cells, some far off, some huge.
    // Small ones carry a picture, often smaller than the box; a huge one is of one colour, as
    // the game's large sprites are (a picture in a huge box would keep a table of its chunks).
    void place(PictureBox& c, bool huge) {
        const int kind = any(0, 8);
        const int w = huge ? any(1000, 40000) : kind < 6 ? 32 : any(0, 300);
        const int h = huge ? any(1000, 40000) : kind < 6 ? 32 : any(0, 300);
        const int x = kind == 8  ? any(-50000, 50000)
                      : kind < 6 ? 32 * any(-2, 30)
                                 : any(-400, 1000);
        const int y = kind == 8 ? any(-50000, 50000) : kind < 6 ? 32 * any(-2, 24) : any(-400, 800);
        c.move(float(x * 15 + any(-7, 7)), float(y * 15 + any(-7, 7)), float(w * 15),
               float(h * 15));
    }
    void add() {
        auto child = std::make_unique<PictureBox>("child");
        const bool huge = any(0, 9) == 0;
        child->setBackColor(Pixel(random_() & 0xFFFFFF));
        if (huge) {
            child->surface().reset(any(0, 40), any(0, 40), child->backColor());
        } else {
            child->surface().reset(any(0, 40), any(0, 40), Pixel(random_() & 0xFFFFFF));
            child->surface().set(1, 1, 0x00ABCDEF);
        }
        place(*child, huge);
        child->setVisible(any(0, 7) != 0);
        field_.add(*child);
        huge_.push_back(huge);
        children_.push_back(std::move(child));
    }

    // Shuffles the children about: moves, hides, removes, adds and brings to the front.
    void stir() {
        for (int n = 0; n < 60; ++n) {
            const int what = any(0, 9);
            if (children_.empty()) return add();
            const std::size_t i = std::size_t(any(0, int(children_.size()) - 1));
            PictureBox& c = *children_[i];
            if (what < 5)
                place(c, huge_[i]);
            else if (what < 6)
                c.setVisible(!c.visible());
            else if (what < 7) {
                children_.erase(children_.begin() + std::ptrdiff_t(i));
                huge_.erase(huge_.begin() + std::ptrdiff_t(i));
            } else if (what < 8)
                field_.bringToFront(c);
            else
                add();
        }
    }

    // Every child looked at, back to front, each cut to the field.
    FrameBuffer drawnOneByOne(int ox, int oy, ClipRect clip) const {
        FrameBuffer out = blank(clip);
        const auto put = [&](const PictureBox& box, int x, int y) {
            const int w = TwipsToPixels(box.width(), 15), h = TwipsToPixels(box.height(), 15);
            const ClipRect r = ClipRect{x, y, x + w, y + h}.intersect(clip);
            if (&box == &field_) clip = r;
            for (int py = r.y0; py < r.y1; ++py)
                for (int px = r.x0; px < r.x1; ++px) {
                    const Surface& s = box.surface();
                    const bool inside = px - x < s.width() && py - y < s.height();
                    out.at(px, py) = inside ? s.get(px - x, py - y) : box.backColor();
                }
        };
        put(field_, ox, oy);
        for (const Control* c : field_.children())
            if (c->visible())
                put(*static_cast<const PictureBox*>(c), ox + TwipsToPixels(c->left(), 15),
                    oy + TwipsToPixels(c->top(), 15));
        return out;
    }
    FrameBuffer drawnFromTheIndex(int ox, int oy, const ClipRect& clip) const {
        FrameBuffer out = blank(clip);
        ComposeBox(field_, ox, oy, clip, out);
        return out;
    }
    static FrameBuffer blank(const ClipRect& clip) {
        FrameBuffer out;
        out.width = clip.x1;
        out.height = clip.y1;
        out.pixels.assign(std::size_t(out.width) * out.height, 0x00777777);
        return out;
    }

    const Control* frontmostOneByOne(int x, int y) const {
        const auto& all = field_.children();
        for (auto it = all.rbegin(); it != all.rend(); ++it) {
            const Control* c = *it;
            const int left = TwipsToPixels(c->left(), 15), top = TwipsToPixels(c->top(), 15);
            if (c->visible() && x >= left && y >= top && x < left + TwipsToPixels(c->width(), 15) &&
                y < top + TwipsToPixels(c->height(), 15))
                return c;
        }
        return nullptr;
    }

    std::mt19937 random_{5};
    PictureBox field_{"field"};
    std::vector<std::unique_ptr<PictureBox>> children_;
    std::vector<bool> huge_;
};

TEST_F(ManyChildren, DrawTheSameAsEveryChildBackToFront) {
    for (int round = 0; round < 25; ++round) {
        // A viewport of the game's size somewhere over the field, as the camera scrolls.
        const ClipRect clip{0, 0, 525, 397};
        const int ox = -any(-100, 700), oy = -any(-100, 500);
        const FrameBuffer expected = drawnOneByOne(ox, oy, clip);
        const FrameBuffer got = drawnFromTheIndex(ox, oy, clip);
        for (int y = 0; y < clip.y1; ++y)
            for (int x = 0; x < clip.x1; ++x)
                ASSERT_EQ(got.at(x, y), expected.at(x, y))
                    << "round " << round << " at " << x << "," << y;
        stir();
    }
}

TEST_F(ManyChildren, FindTheFrontmostChildAtAPoint) {
    for (int round = 0; round < 25; ++round) {
        for (int probe = 0; probe < 400; ++probe) {
            const bool far = any(0, 9) == 0;
            const int x = far ? any(-60000, 60000) : any(-50, 1000);
            const int y = far ? any(-60000, 60000) : any(-50, 800);
            ASSERT_EQ(field_.childWindowAt(x, y), frontmostOneByOne(x, y))
                << "round " << round << " at " << x << "," << y;
        }
        stir();
    }
}

// Removing children in any order keeps the others in their order; a child brought to the front
// is last.
TEST_F(ManyChildren, KeepTheirOrderThroughRemovalsAndRaising) {
    std::vector<const Control*> expected(field_.children().begin(), field_.children().end());
    for (int n = 0; n < 100; ++n) {
        const std::size_t i = std::size_t(any(0, int(children_.size()) - 1));
        std::erase(expected, children_[i].get());
        children_.erase(children_.begin() + std::ptrdiff_t(i));
        huge_.erase(huge_.begin() + std::ptrdiff_t(i));
    }
    PictureBox& raised = *children_[7];
    field_.bringToFront(raised);
    std::erase(expected, &raised);
    expected.push_back(&raised);
    EXPECT_EQ(std::vector<const Control*>(field_.children().begin(), field_.children().end()),
              expected);
}

} // namespace
