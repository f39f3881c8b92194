#include "platform/text.h"

#include "platform/backend.h"

#include <SDL_ttf.h>

#include <cmath>
#include <map>
#include <memory>
#include <tuple>

namespace platform {

namespace {

struct FontCloser {
    void operator()(TTF_Font* font) const { TTF_CloseFont(font); }
};

// Opened once each and kept to the end; closed when the cache goes at exit.
TTF_Font* OpenFont(const FontSpec& wanted) {
    using Key = std::tuple<std::string, int, bool, bool, bool>;
    static std::map<Key, std::unique_ptr<TTF_Font, FontCloser>> fonts;
    const int dpi = ScreenDpi();
    const Key key{wanted.face, int(std::lround(wanted.points * 100)), wanted.bold, wanted.italic,
                  wanted.underline};
    auto it = fonts.find(key);
    if (it != fonts.end()) return it->second.get();
    if (!TTF_WasInit()) TTF_Init();
    TTF_Font* font = nullptr;
    const std::string file = FindFontFile(wanted.face, wanted.bold, wanted.italic);
    if (!file.empty())
        font = TTF_OpenFontDPI(file.c_str(), int(std::lround(wanted.points)), dpi, dpi);
    if (font) {
        // Faces without a bold or italic cut get the style synthesised.
        int style = TTF_STYLE_NORMAL;
        const std::string styleName =
            TTF_FontFaceStyleName(font) ? TTF_FontFaceStyleName(font) : "";
        if (wanted.bold && styleName.find("Bold") == std::string::npos) style |= TTF_STYLE_BOLD;
        if (wanted.italic && styleName.find("Italic") == std::string::npos &&
            styleName.find("Oblique") == std::string::npos)
            style |= TTF_STYLE_ITALIC;
        if (wanted.underline) style |= TTF_STYLE_UNDERLINE;
        TTF_SetFontStyle(font, style);
        TTF_SetFontHinting(font, TTF_HINTING_NORMAL);
    }
    fonts[key].reset(font);
    return font;
}

} // namespace

std::shared_ptr<const Picture> RenderText(const FontSpec& font, const std::string& utf8,
                                          Pixel colour) {
    using Key = std::tuple<std::string, int, bool, bool, bool, std::string, Pixel>;
    static std::map<Key, std::shared_ptr<const Picture>> cache;
    const Key key{font.face,      int(std::lround(font.points * 100)),
                  font.bold,      font.italic,
                  font.underline, utf8,
                  colour};
    if (auto it = cache.find(key); it != cache.end()) return it->second;

    auto picture = std::make_shared<Picture>();
    TTF_Font* ttf = OpenFont(font);
    SDL_Surface* text = nullptr;
    if (ttf && !utf8.empty()) {
        const SDL_Color c{Uint8(colour >> 16), Uint8(colour >> 8), Uint8(colour), 255};
        text = TTF_RenderUTF8_Blended(ttf, utf8.c_str(), c);
    }
    if (text) {
        SDL_Surface* argb = SDL_ConvertSurfaceFormat(text, SDL_PIXELFORMAT_ARGB8888, 0);
        SDL_FreeSurface(text);
        picture->pixels.reset(argb->w, argb->h, colour);
        picture->alpha.resize(std::size_t(argb->w) * argb->h);
        SDL_LockSurface(argb);
        for (int y = 0; y < argb->h; ++y) {
            const auto* row = reinterpret_cast<const std::uint32_t*>(
                static_cast<const char*>(argb->pixels) + std::size_t(y) * argb->pitch);
            for (int x = 0; x < argb->w; ++x)
                picture->alpha[std::size_t(y) * argb->w + x] = std::uint8_t(row[x] >> 24);
        }
        SDL_UnlockSurface(argb);
        SDL_FreeSurface(argb);
    }
    cache[key] = picture;
    return picture;
}

TextSize MeasureText(const FontSpec& font, const std::string& utf8) {
    TTF_Font* ttf = OpenFont(font);
    if (!ttf) return {};
    int w = 0, h = 0;
    if (utf8.empty()) return {0, TTF_FontHeight(ttf)};
    TTF_SizeUTF8(ttf, utf8.c_str(), &w, &h);
    return {w, h};
}

} // namespace platform

namespace platform {

void DrawText(Surface& surface, int x, int y, const FontSpec& font, const std::string& utf8,
              Pixel colour) {
    const auto text = RenderText(font, utf8, colour);
    for (int ty = 0; ty < text->height(); ++ty)
        for (int tx = 0; tx < text->width(); ++tx) {
            const unsigned a = text->alphaAt(tx, ty);
            const int sx = x + tx, sy = y + ty;
            if (a == 0 || sx < 0 || sy < 0 || sx >= surface.width() || sy >= surface.height())
                continue;
            surface.set(sx, sy, BlendPixel(surface.get(sx, sy), colour, a));
        }
}

} // namespace platform
