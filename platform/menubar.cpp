// The menu bar in the classic desktop look: grey face, captions with underlined access keys,
// a sunken title while its menu is open, raised drop-down panels with check marks and greyed
// items.
#include "platform/menubar.h"
#include "platform/compose.h"
#include "platform/text.h"

#include <algorithm>

namespace platform {

MenuBarState g_menuBar;

namespace {

using namespace classic;
constexpr Pixel kGrey = kShadow; // greyed captions

void Fill(FrameBuffer& out, int x0, int y0, int x1, int y1, Pixel c) {
    x0 = std::max(0, x0);
    y0 = std::max(0, y0);
    x1 = std::min(out.width, x1);
    y1 = std::min(out.height, y1);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            out.at(x, y) = c;
}

void Blit(FrameBuffer& out, const Picture& p, int x, int y) {
    for (int py = 0; py < p.height(); ++py)
        for (int px = 0; px < p.width(); ++px) {
            const int ox = x + px, oy = y + py;
            if (ox < 0 || oy < 0 || ox >= out.width || oy >= out.height) continue;
            out.at(ox, oy) = BlendPixel(out.at(ox, oy), p.pixels.get(px, py), p.alphaAt(px, py));
        }
}

// Draws a caption with its access key underlined; returns its width.
int DrawCaption(FrameBuffer& out, const std::string& caption, int x, int y, Pixel colour,
                bool underline) {
    const MenuCaption parts = SplitCaption(caption);
    const FontSpec font = MenuFont();
    int cx = x;
    for (int i = 0; i < 3; ++i) {
        const std::string& part = i == 0 ? parts.before : i == 1 ? parts.key : parts.after;
        if (part.empty()) continue;
        auto pic = RenderText(font, part, colour);
        Blit(out, *pic, cx, y);
        const int w = MeasureText(font, part).width;
        if (i == 1 && underline)
            Fill(out, cx, y + pic->height() - 2, cx + w, y + pic->height() - 1, colour);
        cx += w;
    }
    return cx - x;
}

} // namespace

void DrawRaisedEdge(FrameBuffer& out, int x0, int y0, int x1, int y1) {
    Fill(out, x0, y0, x1, y1, kFace);
    Fill(out, x0, y0, x1 - 1, y0 + 1, kFace);
    Fill(out, x0 + 1, y0 + 1, x1 - 2, y0 + 2, kHighlight);
    Fill(out, x0 + 1, y0 + 1, x0 + 2, y1 - 2, kHighlight);
    Fill(out, x0, y1 - 1, x1, y1, kDarkShadow);
    Fill(out, x1 - 1, y0, x1, y1, kDarkShadow);
    Fill(out, x0 + 1, y1 - 2, x1 - 1, y1 - 1, kShadow);
    Fill(out, x1 - 2, y0 + 1, x1 - 1, y1 - 1, kShadow);
}

namespace {

void DrawCheck(FrameBuffer& out, int x, int y, Pixel c) {
    // A 7 x 7 tick: two strokes, three pixels thick.
    for (int i = 0; i < 7; ++i) {
        const int cx = x + i;
        const int cy = i < 3 ? y + 2 + i : y + 4 - (i - 2);
        Fill(out, cx, cy, cx + 1, cy + 3, c);
    }
}

} // namespace

FontSpec MenuFont() {
    return FontSpec{"MS UI Gothic", 9, false, false, false};
}

MenuCaption SplitCaption(const std::string& caption) {
    MenuCaption parts;
    const auto amp = caption.find('&');
    if (amp == std::string::npos || amp + 1 >= caption.size()) {
        parts.before = caption;
        return parts;
    }
    parts.before = caption.substr(0, amp);
    // The access key is one character, which may be several bytes in UTF-8.
    std::size_t len = 1;
    const unsigned char lead = static_cast<unsigned char>(caption[amp + 1]);
    if (lead >= 0xF0)
        len = 4;
    else if (lead >= 0xE0)
        len = 3;
    else if (lead >= 0xC0)
        len = 2;
    parts.key = caption.substr(amp + 1, len);
    parts.after = caption.substr(amp + 1 + len);
    return parts;
}

std::vector<MenuTitleBox> MenuTitleLayout(const Form& form) {
    std::vector<MenuTitleBox> boxes;
    int x = 2;
    const FontSpec font = MenuFont();
    for (std::size_t i = 0; i < form.menu.size(); ++i) {
        const MenuCaption parts = SplitCaption(form.menu[i].caption);
        const int w = MeasureText(font, parts.before + parts.key + parts.after).width + 14;
        boxes.push_back({x, x + w});
        x += w;
    }
    return boxes;
}

MenuDropLayout MenuDropDownLayout(const Form& form, int title) {
    MenuDropLayout layout;
    const auto titles = MenuTitleLayout(form);
    if (title < 0 || title >= int(titles.size())) return layout;
    const FontSpec font = MenuFont();
    int w = 0;
    for (const MenuItem& item : form.menu[title].items) {
        const MenuCaption parts = SplitCaption(item.caption);
        w = std::max(w, MeasureText(font, parts.before + parts.key + parts.after).width);
    }
    layout.x0 = titles[title].x0;
    layout.y0 = MenuBarPixelHeight(form) - 1;
    layout.x1 = layout.x0 + w + 20 + 20 + 6;
    int y = layout.y0 + 3;
    for (const MenuItem& item : form.menu[title].items) {
        const int h = item.caption == "-" ? 9 : 19;
        layout.items.push_back({y, y + h});
        y += h;
    }
    layout.y1 = y + 3;
    return layout;
}

void DrawMenuBar(const Form& form, FrameBuffer& out) {
    const int bar = MenuBarPixelHeight(form);
    Fill(out, 0, 0, out.width, bar, kFace);
    const auto titles = MenuTitleLayout(form);
    for (std::size_t i = 0; i < titles.size(); ++i) {
        const bool open = int(i) == g_menuBar.openTitle;
        // With a menu down, hotItem is that menu's item, not a title.
        const bool hot =
            open || (g_menuBar.openTitle < 0 && g_menuBar.focused && int(i) == g_menuBar.hotItem);
        const int x0 = titles[i].x0, x1 = titles[i].x1;
        if (open) { // sunken
            Fill(out, x0, 1, x1, 2, kShadow);
            Fill(out, x0, 1, x0 + 1, bar - 1, kShadow);
            Fill(out, x0, bar - 2, x1, bar - 1, kHighlight);
            Fill(out, x1 - 1, 1, x1, bar - 1, kHighlight);
        } else if (hot) { // raised
            Fill(out, x0, 1, x1, 2, kHighlight);
            Fill(out, x0, 1, x0 + 1, bar - 1, kHighlight);
            Fill(out, x0, bar - 2, x1, bar - 1, kShadow);
            Fill(out, x1 - 1, 1, x1, bar - 1, kShadow);
        }
        DrawCaption(out, form.menu[i].caption, x0 + 7 + (open ? 1 : 0), 3 + (open ? 1 : 0), kText,
                    g_menuBar.showAccessKeys);
    }
    if (g_menuBar.openTitle < 0 || g_menuBar.openTitle >= int(form.menu.size())) return;

    const MenuDropLayout drop = MenuDropDownLayout(form, g_menuBar.openTitle);
    DrawRaisedEdge(out, drop.x0, drop.y0, drop.x1, drop.y1);
    const auto& items = form.menu[g_menuBar.openTitle].items;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const MenuItem& item = items[i];
        const int y0 = drop.items[i].y0, y1 = drop.items[i].y1;
        if (item.caption == "-") {
            Fill(out, drop.x0 + 3, y0 + 3, drop.x1 - 3, y0 + 4, kShadow);
            Fill(out, drop.x0 + 3, y0 + 4, drop.x1 - 3, y0 + 5, kHighlight);
            continue;
        }
        const bool selected = int(i) == g_menuBar.hotItem;
        if (selected) Fill(out, drop.x0 + 3, y0, drop.x1 - 3, y1, kSelection);
        Pixel colour = selected ? kSelectedText : kText;
        if (!item.enabled) {
            if (!selected) DrawCaption(out, item.caption, drop.x0 + 21, y0 + 3, kHighlight, true);
            colour = kGrey;
        }
        DrawCaption(out, item.caption, drop.x0 + 20, y0 + 2, colour, true);
        if (item.checked) DrawCheck(out, drop.x0 + 7, y0 + 5, colour);
    }
}

} // namespace platform
