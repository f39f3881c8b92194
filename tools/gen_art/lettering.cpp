#include "lettering.h"

#include "platform/text.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <map>
#include <memory>
#include <stdexcept>
#include <tuple>

namespace art {

namespace {

struct FontCloser {
    void operator()(TTF_Font* font) const { TTF_CloseFont(font); }
};
using OpenedFont = std::unique_ptr<TTF_Font, FontCloser>;

// Each face and size is opened once and closed at exit; a face refused is closed at once.
TTF_Font* OpenFont(const Font& font, int pixelSize) {
    using Key = std::tuple<std::string, bool, bool, int>;
    static std::map<Key, OpenedFont> open;
    const Key key{font.family, font.bold, font.italic, pixelSize};
    if (auto it = open.find(key); it != open.end()) return it->second.get();
    if (!TTF_WasInit() && TTF_Init() != 0) throw std::runtime_error("SDL_ttf does not start");
    const std::string file = platform::FindFontFile(font.family, font.bold, font.italic);
    OpenedFont opened(file.empty() ? nullptr : TTF_OpenFont(file.c_str(), pixelSize));
    TTF_Font* ttf = opened.get();
    const char* family = ttf ? TTF_FontFaceFamilyName(ttf) : nullptr;
    if (!family || font.family != family)
        throw std::runtime_error("font \"" + font.family + "\" is not installed (found \"" +
                                 (family ? family : "nothing") + "\")");
    // The pictures depend on the face's own design only, not on a synthesised style.
    const std::string style = TTF_FontFaceStyleName(ttf) ? TTF_FontFaceStyleName(ttf) : "";
    const bool isBold = style.find("Bold") != std::string::npos;
    const bool isItalic = style.find("Italic") != std::string::npos;
    if (isBold != font.bold || isItalic != font.italic)
        throw std::runtime_error("font \"" + font.family + "\" lacks the style wanted (found \"" +
                                 style + "\")");
    TTF_SetFontHinting(ttf, TTF_HINTING_LIGHT);
    open[key] = std::move(opened);
    return ttf;
}

Mask Cut(const Mask& mask) {
    const Mask::Box box = mask.bounds();
    if (box.x0 >= box.x1) return Mask(0, 0);
    Mask out(box.x1 - box.x0, box.y1 - box.y0);
    for (int y = box.y0; y < box.y1; ++y)
        for (int x = box.x0; x < box.x1; ++x)
            out.set(x - box.x0, y - box.y0, mask.at(x, y));
    return out;
}

// Steps from (x, y) towards (dx, dy) until the letter ends; beyond `limit` counts as limit + 1.
int DepthTowards(const Mask& glyphs, int x, int y, int dx, int dy, int limit) {
    for (int k = 1; k <= limit; ++k)
        if (!glyphs.on(x + dx * k, y + dy * k)) return k;
    return limit + 1;
}

} // namespace

Mask TextMask(const Font& font, int pixelSize, const std::string& utf8) {
    TTF_Font* ttf = OpenFont(font, pixelSize);
    const SDL_Color white{255, 255, 255, 255};
    SDL_Surface* text = TTF_RenderUTF8_Blended(ttf, utf8.c_str(), white);
    if (!text) throw std::runtime_error("cannot render \"" + utf8 + "\"");
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(text, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(text);
    if (!argb) throw std::runtime_error("cannot convert rendered text");
    Mask mask(argb->w, argb->h);
    SDL_LockSurface(argb);
    for (int y = 0; y < argb->h; ++y) {
        const auto* row = reinterpret_cast<const Uint32*>(static_cast<const char*>(argb->pixels) +
                                                          std::size_t(y) * argb->pitch);
        for (int x = 0; x < argb->w; ++x)
            mask.set(x, y, int(row[x] >> 24));
    }
    SDL_UnlockSurface(argb);
    SDL_FreeSurface(argb);
    return Cut(mask);
}

int TextWidth(const Font& font, int pixelSize, const std::string& utf8) {
    return TextMask(font, pixelSize, utf8).width();
}

Canvas DressLetters(const Mask& glyphs, const LetterStyle& style) {
    const Mask inner = style.outlineWidth > 0 ? glyphs.dilated(style.outlineWidth) : glyphs;
    const Mask outer = style.outerWidth > 0 ? inner.dilated(style.outerWidth) : inner;
    const bool hasShadow = style.shadowDx != 0 || style.shadowDy != 0;
    const Mask cast = hasShadow ? outer.shifted(style.shadowDx, style.shadowDy) : Mask();
    const Mask::Box ink = glyphs.bounds();

    Canvas out(glyphs.width(), glyphs.height(), 0, 0);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) {
            if (glyphs.on(x, y)) {
                Colour c = RampAt(style.fill, Banded(y - ink.y0, ink.y1 - ink.y0, style.bands));
                if (style.bevel > 0) {
                    const int lit = std::min(DepthTowards(glyphs, x, y, -1, 0, style.bevel),
                                             DepthTowards(glyphs, x, y, 0, -1, style.bevel));
                    const int dark = std::min(DepthTowards(glyphs, x, y, 1, 0, style.bevel),
                                              DepthTowards(glyphs, x, y, 0, 1, style.bevel));
                    if (lit <= style.bevel && lit <= dark)
                        c = style.highlight;
                    else if (dark <= style.bevel)
                        c = style.shade;
                }
                out.put(x, y, c);
            } else if (inner.on(x, y)) {
                out.put(x, y, style.outline);
            } else if (outer.on(x, y)) {
                out.put(x, y, style.outerOutline);
            } else if (hasShadow && cast.on(x, y)) {
                out.put(x, y, style.shadow);
            }
        }
    return out;
}

namespace {

// Room around the letters for everything the style adds to them.
int MarginOf(const LetterStyle& style) {
    return style.outlineWidth + style.outerWidth +
           std::max(std::abs(style.shadowDx), std::abs(style.shadowDy)) + 1;
}

} // namespace

Canvas Lettering(const Font& font, int pixelSize, const std::string& utf8, const LetterStyle& style,
                 int stretchWidth, int stretchHeight) {
    Mask mask = TextMask(font, pixelSize, utf8);
    if (stretchWidth > 0 || stretchHeight > 0)
        mask = mask.resized(stretchWidth > 0 ? stretchWidth : mask.width(),
                            stretchHeight > 0 ? stretchHeight : mask.height());
    return DressLetters(mask.thresholded().padded(MarginOf(style)), style);
}

Canvas FittedLettering(const Font& font, const std::string& utf8, const LetterStyle& style,
                       int maxWidth, int maxHeight) {
    const int margin = MarginOf(style);
    // The ink grows in proportion to the size: guess from one measure, then step down.
    const Mask probe = TextMask(font, 100, utf8);
    int size = std::min(100 * (maxWidth - 2 * margin) / std::max(1, probe.width()),
                        100 * (maxHeight - 2 * margin) / std::max(1, probe.height())) +
               4;
    for (; size >= 6; --size) {
        const Mask mask = TextMask(font, size, utf8);
        if (mask.width() + 2 * margin <= maxWidth && mask.height() + 2 * margin <= maxHeight)
            return DressLetters(mask.thresholded().padded(margin), style);
    }
    throw std::runtime_error("\"" + utf8 + "\" does not fit " + std::to_string(maxWidth) + " x " +
                             std::to_string(maxHeight));
}

Canvas SmallPrint(const Font& font, int pixelSize, const std::string& utf8, Colour ink, Colour ring,
                  int ringWidth) {
    const Mask coverage = TextMask(font, pixelSize, utf8).padded(ringWidth + 1);
    const Mask around = coverage.thresholded(64).dilated(ringWidth);
    Canvas out(coverage.width(), coverage.height(), 0, 0);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) {
            if (around.on(x, y)) out.put(x, y, ring);
            out.blend(x, y, ink, coverage.at(x, y));
        }
    return out;
}

void DrawCentred(Canvas& canvas, const Canvas& art, int cx, int cy) {
    canvas.drawOver(art, cx - art.width() / 2, cy - art.height() / 2);
}

} // namespace art
