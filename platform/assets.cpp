#include "platform/assets.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstring>
#include <map>

namespace platform {

namespace {

std::shared_ptr<Picture> FromSdlSurface(SDL_Surface* loaded) {
    if (!loaded) return nullptr;
    SDL_Surface* rgba = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    const bool hasAlpha =
        SDL_ISPIXELFORMAT_ALPHA(loaded->format->format) || loaded->format->palette != nullptr;
    SDL_FreeSurface(loaded);
    if (!rgba) return nullptr;
    auto picture = std::make_shared<Picture>();
    picture->pixels.reset(rgba->w, rgba->h, 0);
    std::vector<Pixel> row(rgba->w);
    bool anyTransparent = false;
    std::vector<std::uint8_t> alpha(std::size_t(rgba->w) * rgba->h);
    SDL_LockSurface(rgba);
    for (int y = 0; y < rgba->h; ++y) {
        const auto* src = reinterpret_cast<const std::uint32_t*>(
            static_cast<const char*>(rgba->pixels) + std::size_t(y) * rgba->pitch);
        for (int x = 0; x < rgba->w; ++x) {
            row[x] = src[x] & 0x00FFFFFF;
            const auto a = std::uint8_t(src[x] >> 24);
            alpha[std::size_t(y) * rgba->w + x] = a;
            anyTransparent = anyTransparent || a != 255;
        }
        picture->pixels.writeRow(0, y, rgba->w, row.data());
    }
    SDL_UnlockSurface(rgba);
    SDL_FreeSurface(rgba);
    if (hasAlpha && anyTransparent) picture->alpha = std::move(alpha);
    return picture;
}

// Decodes a PNG from a stream and closes the stream, which SDL_image leaves open.
std::shared_ptr<Picture> ReadPngFrom(SDL_RWops* rw) {
    if (!rw) return nullptr;
    SDL_Surface* loaded = IMG_LoadPNG_RW(rw);
    SDL_RWclose(rw);
    return FromSdlSurface(loaded);
}

std::shared_ptr<const Picture> StandIn() {
    auto p = std::make_shared<Picture>();
    p->pixels.reset(32, 32, Rgb(255, 0, 255));
    return p;
}

} // namespace

std::shared_ptr<Picture> DecodePng(const unsigned char* data, std::size_t size) {
    return ReadPngFrom(SDL_RWFromConstMem(data, int(size)));
}

std::shared_ptr<Picture> ReadPng(const std::string& path) {
    return ReadPngFrom(SDL_RWFromFile(path.c_str(), "rb"));
}

std::shared_ptr<const Picture> LoadPicture(const std::string& name) {
    static std::map<std::string, std::shared_ptr<const Picture>> cache;
    auto it = cache.find(name);
    if (it != cache.end()) return it->second;
    std::shared_ptr<const Picture> picture;
    for (const EmbeddedAsset* a = kEmbeddedAssets; a->name; ++a)
        if (name == a->name) picture = DecodePng(a->data, a->size);
    if (!picture) {
        SDL_Log("picture %s is missing; a stand-in is shown", name.c_str());
        picture = StandIn();
    }
    cache[name] = picture;
    return picture;
}

bool WritePng(const Picture& picture, const std::string& path) {
    const int w = picture.width(), h = picture.height();
    const bool withAlpha = !picture.alpha.empty();
    SDL_Surface* out = SDL_CreateRGBSurfaceWithFormat(
        0, w, h, 32, withAlpha ? SDL_PIXELFORMAT_ARGB8888 : SDL_PIXELFORMAT_RGB888);
    if (!out) return false;
    std::vector<Pixel> row(w);
    SDL_LockSurface(out);
    for (int y = 0; y < h; ++y) {
        picture.pixels.readRow(0, y, w, row.data());
        auto* dst = reinterpret_cast<std::uint32_t*>(static_cast<char*>(out->pixels) +
                                                     std::size_t(y) * out->pitch);
        for (int x = 0; x < w; ++x)
            dst[x] = row[x] | (std::uint32_t(picture.alphaAt(x, y)) << 24);
    }
    SDL_UnlockSurface(out);
    const bool ok = IMG_SavePNG(out, path.c_str()) == 0;
    SDL_FreeSurface(out);
    return ok;
}

bool WritePng(const Surface& surface, const std::string& path) {
    Picture p;
    p.pixels = surface;
    return WritePng(p, path);
}

} // namespace platform
