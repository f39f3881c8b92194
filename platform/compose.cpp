#include "platform/compose.h"

#include "platform/text.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
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

// Where the box's visible child windows lie within `area`: each paints every pixel of its own,
// so nothing of the box needs drawing under them.
std::vector<ClipRect> CoveringChildren(const PictureBox& box, int x, int y, const ClipRect& area) {
    std::vector<ClipRect> covered;
    for (const Control* c : box.children()) {
        if (!c->visible() || !c->windowed()) continue;
        const auto* child = static_cast<const PictureBox*>(c);
        const int cx = x + Px(child->left()), cy = y + Py(child->top());
        const ClipRect r =
            ClipRect{cx, cy, cx + BoxPixelWidth(*child), cy + BoxPixelHeight(*child)}.intersect(
                area);
        if (!r.empty()) covered.push_back(r);
    }
    return covered;
}

// The box's own picture over `area`, except where `covered` will be painted over anyway: the
// viewport over the window's background, the rocks over the playfield. The rows are taken in
// bands between the covering rectangles' top and bottom edges, each band with one set of gaps.
void DrawOwnPicture(const PictureBox& box, int x, int y, const ClipRect& area,
                    const std::vector<ClipRect>& covered, FrameBuffer& out) {
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

} // namespace

Surface FrameBuffer::toSurface() const {
    Surface s(width, height, 0);
    for (int y = 0; y < height; ++y)
        s.writeRow(0, y, width, &pixels[std::size_t(y) * width]);
    return s;
}

ClipRect ClipRect::intersect(const ClipRect& o) const {
    return {std::max(x0, o.x0), std::max(y0, o.y0), std::min(x1, o.x1), std::min(y1, o.y1)};
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

void ComposeBox(const PictureBox& box, int x, int y, const ClipRect& clip, FrameBuffer& out) {
    const int w = BoxPixelWidth(box), h = BoxPixelHeight(box);
    const ClipRect area = ClipRect{x, y, x + w, y + h}.intersect(clip);
    if (area.empty()) return;

    DrawOwnPicture(box, x, y, area, CoveringChildren(box, x, y, area), out);

    // Windowless children, then child windows, each group back to front.
    for (const Control* c : box.children()) {
        if (!c->visible() || c->windowed()) continue;
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
    for (const Control* c : box.children()) {
        if (!c->visible() || !c->windowed()) continue;
        const auto* child = static_cast<const PictureBox*>(c);
        ComposeBox(*child, x + Px(child->left()), y + Py(child->top()), area, out);
    }
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
