#include "platform/compose.h"

#include "platform/menubar.h"
#include "platform/text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace platform {

namespace {

int Px(double twips) {
    return TwipsToPixels(twips, g_twipsX);
}
int Py(double twips) {
    return TwipsToPixels(twips, g_twipsY);
}

void FillClipped(FrameBuffer& out, const ClipRect& clip, ClipRect r, Pixel colour) {
    r = r.intersect(clip);
    for (int y = r.y0; y < r.y1; ++y)
        std::fill_n(&out.at(r.x0, y), std::max(0, r.x1 - r.x0), colour);
}

// Draws a picture scaled to w x h (nearest pixel, so edges stay hard) at (x, y).
void DrawPicture(const Picture& p, int x, int y, int w, int h, const ClipRect& clip,
                 FrameBuffer& out) {
    if (w <= 0 || h <= 0 || p.width() == 0 || p.height() == 0) return;
    const ClipRect r = ClipRect{x, y, x + w, y + h}.intersect(clip);
    if (r.empty()) return;
    std::vector<Pixel> row(p.width());
    int lastSy = -1;
    for (int dy = r.y0; dy < r.y1; ++dy) {
        const int sy = int((std::int64_t(dy - y) * p.height()) / h);
        if (sy != lastSy) p.pixels.readRow(0, sy, p.width(), row.data());
        lastSy = sy;
        for (int dx = r.x0; dx < r.x1; ++dx) {
            const int sx = int((std::int64_t(dx - x) * p.width()) / w);
            Pixel& d = out.at(dx, dy);
            d = BlendPixel(d, row[sx], p.alphaAt(sx, sy));
        }
    }
}

void DrawImage(const Image& image, int ox, int oy, const ClipRect& clip, FrameBuffer& out) {
    const auto& picture = image.picture();
    if (!picture) return;
    const int x = ox + Px(image.left()), y = oy + Py(image.top());
    if (image.stretch)
        DrawPicture(*picture, x, y, Px(image.width()), Py(image.height()), clip, out);
    else
        DrawPicture(*picture, x, y, picture->width(), picture->height(), clip, out);
}

void DrawLabel(const Label& label, int ox, int oy, const ClipRect& clip, FrameBuffer& out) {
    const int x = ox + Px(label.left()), y = oy + Py(label.top());
    const ClipRect box = ClipRect{x, y, x + Px(label.width()), y + Py(label.height())};
    if (!label.transparent) FillClipped(out, clip, box, label.backColor);
    if (label.caption().empty()) return;
    const auto text = RenderText(label.font, label.caption(), label.foreColor);
    DrawPicture(*text, x, y, text->width(), text->height(), clip.intersect(box), out);
}

void DrawLine(const Line& line, int ox, int oy, const ClipRect& clip, FrameBuffer& out) {
    const int x1 = ox + Px(line.x1), y1 = oy + Py(line.y1);
    const int x2 = ox + Px(line.x2), y2 = oy + Py(line.y2);
    const int pen = std::max(1, line.borderWidth);
    const int half = (pen - 1) / 2;
    const int steps = std::max(std::abs(x2 - x1), std::abs(y2 - y1));
    if (y1 == y2) { // the game's markers: one rectangle
        FillClipped(
            out, clip,
            {std::min(x1, x2) - half, y1 - half, std::max(x1, x2) - half + pen, y1 - half + pen},
            line.color);
        return;
    }
    for (int i = 0; i <= steps; ++i) {
        const int x = x1 + (steps ? (x2 - x1) * i / steps : 0);
        const int y = y1 + (steps ? (y2 - y1) * i / steps : 0);
        FillClipped(out, clip, {x - half, y - half, x - half + pen, y - half + pen}, line.color);
    }
}

void DrawShape(const Shape& shape, int ox, int oy, const ClipRect& clip, FrameBuffer& out) {
    const int x = ox + Px(shape.left()), y = oy + Py(shape.top());
    const int w = Px(shape.width()), h = Py(shape.height());
    if (shape.filled) FillClipped(out, clip, {x, y, x + w, y + h}, shape.fillColor);
    const int b = std::max(1, shape.borderWidth);
    FillClipped(out, clip, {x, y, x + w, y + b}, shape.borderColor);
    FillClipped(out, clip, {x, y + h - b, x + w, y + h}, shape.borderColor);
    FillClipped(out, clip, {x, y, x + b, y + h}, shape.borderColor);
    FillClipped(out, clip, {x + w - b, y, x + w, y + h}, shape.borderColor);
}

int BoxPixelWidth(const PictureBox& box) {
    return box.kind() == ControlKind::Form ? ClientPixelWidth(static_cast<const Form&>(box))
                                           : Px(box.width());
}
int BoxPixelHeight(const PictureBox& box) {
    return box.kind() == ControlKind::Form ? ClientPixelHeight(static_cast<const Form&>(box))
                                           : Py(box.height());
}

// Part of one row of a box's own picture, frame columns x0 .. x1 - 1; where the surface is
// smaller than the box, its back colour.
void DrawOwnRow(const PictureBox& box, int x, int y, int row, int x0, int x1, FrameBuffer& out) {
    const Surface& s = box.surface();
    const int sy = row - y;
    int from = x0;
    if (sy < s.height()) {
        const int sx0 = x0 - x;
        const int n = std::min(x1 - x, s.width()) - sx0;
        if (n > 0) {
            s.readRow(sx0, sy, n, &out.at(x0, row));
            from = x0 + n;
        }
    }
    if (from < x1) std::fill_n(&out.at(from, row), x1 - from, box.backColor());
}

// The box's own picture over `area`, except where `covered` will be painted over anyway: the
// viewport over the window's background, the rocks over the playfield. The rows are taken in
// bands between the covering rectangles' top and bottom edges, each band with one set of gaps.
void DrawOwnPicture(const PictureBox& box, int x, int y, const ClipRect& area,
                    const std::vector<ClipRect>& covered, FrameBuffer& out) {
    if (covered.empty()) { // nothing in front, as for every sprite: whole rows
        for (int row = area.y0; row < area.y1; ++row)
            DrawOwnRow(box, x, y, row, area.x0, area.x1, out);
        return;
    }
    std::vector<int> cuts{area.y0, area.y1};
    for (const ClipRect& r : covered) {
        cuts.push_back(r.y0);
        cuts.push_back(r.y1);
    }
    std::sort(cuts.begin(), cuts.end());
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
    std::vector<std::pair<int, int>> over; // the covered columns of a band, sorted
    for (std::size_t band = 0; band + 1 < cuts.size(); ++band) {
        const int top = cuts[band], bottom = cuts[band + 1];
        over.clear();
        for (const ClipRect& r : covered)
            if (r.y0 <= top && bottom <= r.y1) over.emplace_back(r.x0, r.x1);
        std::sort(over.begin(), over.end());
        for (int row = top; row < bottom; ++row) {
            int from = area.x0;
            for (const auto& [x0, x1] : over) {
                if (x0 > from) DrawOwnRow(box, x, y, row, from, x0, out);
                from = std::max(from, x1);
            }
            if (from < area.x1) DrawOwnRow(box, x, y, row, from, area.x1, out);
        }
    }
}

// Floor division for coordinates that may be negative.
int FloorDiv(int a, int b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// Which cells of a drawn area are hidden behind child windows already chosen, looked at from the
// front. Cells are 32 x 32 pixels from the box's corner, the size of the game's sprites and of
// its stage cells, and are cut at the area's edges.
class Cover {
  public:
    Cover(int originX, int originY, const ClipRect& area)
        : ox_(originX), oy_(originY), area_(area), col0_(FloorDiv(area.x0 - originX, kCell)),
          row0_(FloorDiv(area.y0 - originY, kCell)),
          cols_(FloorDiv(area.x1 - 1 - originX, kCell) - col0_ + 1),
          rows_(FloorDiv(area.y1 - 1 - originY, kCell) - row0_ + 1), words_((cols_ + 63) / 64),
          bits_(std::size_t(rows_) * words_, 0), left_(std::int64_t(cols_) * rows_) {}

    bool complete() const { return left_ == 0; }

    // Whether a rectangle inside the area shows anywhere; if it does, the cells it fills
    // become covered.
    bool takeIfSeen(const ClipRect& r) {
        const Span cs = span(r.x0, r.x1, area_.x0, area_.x1, ox_, col0_);
        const Span rs = span(r.y0, r.y1, area_.y0, area_.y1, oy_, row0_);
        bool seen = false;
        for (int row = rs.touched0; row <= rs.touched1 && !seen; ++row)
            for (int col = cs.touched0; col <= cs.touched1 && !seen; ++col)
                seen = !covered(row, col);
        if (!seen) return false;
        for (int row = rs.full0; row <= rs.full1; ++row)
            for (int col = cs.full0; col <= cs.full1; ++col)
                if (!covered(row, col)) {
                    bits_[std::size_t(row) * words_ + col / 64] |= std::uint64_t(1) << (col % 64);
                    --left_;
                }
        return true;
    }

  private:
    static constexpr int kCell = 32;
    struct Span {
        int touched0, touched1, full0, full1;
    };
    // Cells along one axis that [a, b) touches and that it fills, as far as they lie in
    // [lo, hi).
    static Span span(int a, int b, int lo, int hi, int origin, int first) {
        Span s{};
        s.touched0 = FloorDiv(a - origin, kCell) - first;
        s.touched1 = FloorDiv(b - 1 - origin, kCell) - first;
        const int start = std::max(lo, origin + (s.touched0 + first) * kCell);
        const int end = std::min(hi, origin + (s.touched1 + first + 1) * kCell);
        s.full0 = s.touched0 + (a <= start ? 0 : 1);
        s.full1 = s.touched1 - (end <= b ? 0 : 1);
        return s;
    }
    bool covered(int row, int col) const {
        return (bits_[std::size_t(row) * words_ + col / 64] >> (col % 64)) & 1;
    }

    int ox_, oy_;
    ClipRect area_;
    int col0_, row0_, cols_, rows_, words_;
    std::vector<std::uint64_t> bits_;
    std::int64_t left_;
};

// The child windows that show in the area, back to front, with the part of the area each
// paints; `coverAll` tells whether they paint all of it. Children that lie wholly behind others
// in front of them are left out.
struct ChildSeen {
    const PictureBox* box;
    int x, y; // its top-left corner in the frame
    ClipRect painted;
};
std::vector<ChildSeen> ChildWindowsSeen(const PictureBox& box, int x, int y, const ClipRect& area,
                                        bool& coverAll) {
    thread_local std::vector<Control*> near;
    box.childWindowsNear(area.x0 - x, area.y0 - y, area.x1 - x, area.y1 - y, near);
    std::vector<ChildSeen> seen;
    coverAll = false;
    if (near.empty()) return seen;
    Cover cover(x, y, area);
    for (auto it = near.rbegin(); it != near.rend() && !cover.complete(); ++it) {
        const auto* child = static_cast<const PictureBox*>(*it);
        if (!child->visible()) continue;
        const int cx = x + Px(child->left()), cy = y + Py(child->top());
        const ClipRect r =
            ClipRect{cx, cy, cx + BoxPixelWidth(*child), cy + BoxPixelHeight(*child)}.intersect(
                area);
        if (!r.empty() && cover.takeIfSeen(r)) seen.push_back({child, cx, cy, r});
    }
    coverAll = cover.complete();
    std::reverse(seen.begin(), seen.end());
    return seen;
}

// Where the child windows seen paint over the box's own picture: the largest of them, so that
// skipping what they cover stays cheaper than drawing it.
std::vector<ClipRect> CoveringChildren(const std::vector<ChildSeen>& seen) {
    constexpr std::size_t kMost = 16;
    std::vector<ClipRect> covered;
    for (const ChildSeen& c : seen)
        covered.push_back(c.painted);
    const auto area = [](const ClipRect& r) { return std::int64_t(r.x1 - r.x0) * (r.y1 - r.y0); };
    if (covered.size() > kMost) {
        std::nth_element(covered.begin(), covered.begin() + kMost, covered.end(),
                         [&](const ClipRect& a, const ClipRect& b) { return area(a) > area(b); });
        covered.resize(kMost);
    }
    return covered;
}

} // namespace

Surface FrameBuffer::toSurface() const {
    Surface s(width, height, 0);
    for (int y = 0; y < height; ++y)
        s.writeRow(0, y, width, &pixels[std::size_t(y) * width]);
    return s;
}

int ClientPixelWidth(const Form& form) {
    return Px(form.scaleWidth);
}
int ClientPixelHeight(const Form& form) {
    return Py(form.scaleHeight);
}
int MenuBarPixelHeight(const Form& form) {
    return form.menu.empty() ? 0 : kMenuBarHeight;
}
int FramePixels(const Form& form) {
    return form.dialogFrame ? kDialogFramePixels : 0;
}

namespace {

// The box's windowless children, back to front.
void DrawWindowlessChildren(const PictureBox& box, int x, int y, const ClipRect& area,
                            FrameBuffer& out) {
    for (const Control* c : box.windowlessChildren()) {
        if (!c->visible()) continue;
        switch (c->kind()) {
        case ControlKind::Image:
            DrawImage(*static_cast<const Image*>(c), x, y, area, out);
            break;
        case ControlKind::Label:
            DrawLabel(*static_cast<const Label*>(c), x, y, area, out);
            break;
        case ControlKind::Line:
            DrawLine(*static_cast<const Line*>(c), x, y, area, out);
            break;
        case ControlKind::Shape:
            DrawShape(*static_cast<const Shape*>(c), x, y, area, out);
            break;
        default:
            break;
        }
    }
}

} // namespace

void ComposeBox(const PictureBox& box, int x, int y, const ClipRect& clip, FrameBuffer& out) {
    const int w = BoxPixelWidth(box), h = BoxPixelHeight(box);
    const ClipRect area = ClipRect{x, y, x + w, y + h}.intersect(clip);
    if (area.empty()) return;

    // Child windows hidden behind others are not drawn, nor is anything a child window covers.
    bool coverAll = false;
    const auto childWindows = ChildWindowsSeen(box, x, y, area, coverAll);
    if (!coverAll) {
        DrawOwnPicture(box, x, y, area, CoveringChildren(childWindows), out);
        DrawWindowlessChildren(box, x, y, area, out);
    }
    for (const ChildSeen& child : childWindows)
        ComposeBox(*child.box, child.x, child.y, area, out);
}

void ComposeWindow(const Form& form, FrameBuffer& out) {
    const int frame = FramePixels(form);
    const int w = ClientPixelWidth(form) + 2 * frame;
    const int bar = MenuBarPixelHeight(form);
    const int h = bar + ClientPixelHeight(form) + 2 * frame;
    if (out.width != w || out.height != h) {
        out.width = w;
        out.height = h;
        out.pixels.assign(std::size_t(w) * h, 0);
    }
    if (frame) DrawRaisedEdge(out, 0, 0, w, h); // the client area covers all but its rim
    ComposeBox(form, frame, frame + bar, {frame, frame + bar, w - frame, h - frame}, out);
    if (bar) DrawMenuBar(form, out);
}

} // namespace platform

namespace platform {

bool CheckingPictures() {
    static const bool on = [] {
        const char* value = std::getenv("VEXARO_CHECK_PICTURE");
        return value && std::string(value) == "1";
    }();
    return on;
}

namespace {

int PictureWidth(const Form& form) {
    return ClientPixelWidth(form) + 2 * FramePixels(form);
}
int PictureHeight(const Form& form) {
    return MenuBarPixelHeight(form) + ClientPixelHeight(form) + 2 * FramePixels(form);
}

// Whether the menu bar, or the menu dropped down from it over the client area, meets an area.
bool MeetsMenu(const Form& form, const ClipRect& r) {
    const int bar = MenuBarPixelHeight(form);
    if (bar == 0) return false;
    if (r.y0 < bar) return true;
    if (g_menuBar.openTitle < 0) return false;
    const MenuDropLayout drop = MenuDropDownLayout(form, g_menuBar.openTitle);
    return !r.intersect({drop.x0, drop.y0, drop.x1, drop.y1}).empty();
}

} // namespace

std::vector<ClipRect> WindowPicture::update(Form& form) {
    const int w = PictureWidth(form), h = PictureHeight(form);
    bool whole = false;
    std::vector<ClipRect> areas = form.damage().take(w, h, whole);
    if (whole || frame_.width != w || frame_.height != h) {
        ComposeWindow(form, frame_);
        areas.assign(1, {0, 0, frame_.width, frame_.height});
    } else if (!areas.empty()) {
        const int frame = FramePixels(form), bar = MenuBarPixelHeight(form);
        const ClipRect client{frame, frame + bar, w - frame, h - frame};
        bool menu = false;
        for (const ClipRect& area : areas) {
            ComposeBox(form, frame, frame + bar, area.intersect(client), frame_);
            menu = menu || MeetsMenu(form, area);
        }
        // The bar and an open menu lie over the client area: drawn again over what was redrawn.
        if (menu) DrawMenuBar(form, frame_);
    }
    if (CheckingPictures() && !areas.empty()) check(form);
    return areas;
}

void WindowPicture::check(const Form& form) {
    ComposeWindow(form, whole_);
    if (whole_.pixels == frame_.pixels) return;
    int count = 0, firstX = -1, firstY = -1;
    ClipRect stale{whole_.width, whole_.height, 0, 0};
    for (int y = 0; y < whole_.height; ++y)
        for (int x = 0; x < whole_.width; ++x)
            if (whole_.at(x, y) != frame_.at(x, y)) {
                if (count++ == 0) firstX = x, firstY = y;
                stale = {std::min(stale.x0, x), std::min(stale.y0, y), std::max(stale.x1, x + 1),
                         std::max(stale.y1, y + 1)};
            }
    std::fprintf(stderr,
                 "Vexaro!!: stale pixels in the picture of %s: %d differ from the whole picture, "
                 "within x %d..%d, y %d..%d; the first at (%d, %d) is %06X, not %06X\n",
                 form.name().c_str(), count, stale.x0, stale.x1 - 1, stale.y0, stale.y1 - 1, firstX,
                 firstY, unsigned(frame_.at(firstX, firstY)), unsigned(whole_.at(firstX, firstY)));
    std::abort();
}

} // namespace platform
