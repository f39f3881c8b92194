#include "platform/sdl/native_window.h"

#include <cstdio>
#include <map>
#include <memory>
#include <utility>

namespace platform::sdl {

namespace {

// The frame's own pixel layout, 0x00RRGGBB, so an upload is a plain copy.
constexpr Uint32 kPixelFormat = SDL_PIXELFORMAT_RGB888;

SDL_Point CentreOver(SDL_Window* over, int w, int h) {
    if (!over) return {int(SDL_WINDOWPOS_CENTERED), int(SDL_WINDOWPOS_CENTERED)};
    int x = 0, y = 0, ow = 0, oh = 0;
    SDL_GetWindowPosition(over, &x, &y);
    SDL_GetWindowSize(over, &ow, &oh);
    return {x + (ow - w) / 2, y + (oh - h) / 2};
}

} // namespace

NativeWindow::NativeWindow(const std::string& title, int width, int height, int scale,
                           const WindowLook& look, SDL_Window* over)
    : scale_(scale < 1 ? 1 : scale) {
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (!look.border) flags |= SDL_WINDOW_BORDERLESS;
    if (!look.taskbar) flags |= SDL_WINDOW_SKIP_TASKBAR;
    if (look.topmost) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
    const int w = width * scale_, h = height * scale_;
    const SDL_Point at = CentreOver(over, w, h);
    window_ = SDL_CreateWindow(title.c_str(), at.x, at.y, w, h, flags);
    if (!window_) {
        std::fprintf(stderr, "Vexaro!!: cannot open a window: %s\n", SDL_GetError());
        return;
    }
    renderer_ = SDL_CreateRenderer(window_, -1, 0);
    if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer_) {
        std::fprintf(stderr, "Vexaro!!: cannot draw into a window: %s\n", SDL_GetError());
        return;
    }
    // Before the window is mapped, so that the window manager stacks it above its owner at once.
    if (look.owner) SDL_SetWindowModalFor(window_, look.owner);
    SDL_ShowWindow(window_);
    if (look.minimised) SDL_MinimizeWindow(window_);
}

NativeWindow::~NativeWindow() {
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) SDL_DestroyWindow(window_);
}

void NativeWindow::show(const FrameBuffer& frame) {
    if (!ok() || frame.width <= 0 || frame.height <= 0) return;
    if (!texture_ || textureWidth_ != frame.width || textureHeight_ != frame.height) {
        if (texture_) SDL_DestroyTexture(texture_);
        texture_ = SDL_CreateTexture(renderer_, kPixelFormat, SDL_TEXTUREACCESS_STREAMING,
                                     frame.width, frame.height);
        textureWidth_ = frame.width;
        textureHeight_ = frame.height;
        if (!texture_) return;
        // Nearest pixel: the picture is enlarged by whole squares and stays crisp.
        SDL_SetTextureScaleMode(texture_, SDL_ScaleModeNearest);
    }
    SDL_UpdateTexture(texture_, nullptr, frame.pixels.data(), int(frame.width * sizeof(Pixel)));
    present();
}

void NativeWindow::present() {
    if (!ok() || !texture_) return;
    const SDL_Rect target{0, 0, textureWidth_ * scale_, textureHeight_ * scale_};
    SDL_RenderCopy(renderer_, texture_, nullptr, &target);
    SDL_RenderPresent(renderer_);
}

void NativeWindow::setIcon(const Picture& icon) {
    if (!window_) return;
    if (SDL_Surface* surface = ScaledSurface(icon, 1)) {
        SDL_SetWindowIcon(window_, surface);
        SDL_FreeSurface(surface);
    }
}

SDL_Surface* ScaledSurface(const Picture& picture, int scale) {
    const int w = picture.width() * scale, h = picture.height() * scale;
    if (w <= 0 || h <= 0) return nullptr;
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!s) return nullptr;
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch);
        for (int x = 0; x < w; ++x) {
            const int px = x / scale, py = y / scale;
            row[x] = (Uint32(picture.alphaAt(px, py)) << 24) | picture.pixels.get(px, py);
        }
    }
    return s;
}

void ShowPointer(const Control* over, int scale) {
    // The cache holds each picture, so its address cannot be reused by another one.
    static std::map<std::pair<const Picture*, int>,
                    std::pair<std::shared_ptr<const Picture>, SDL_Cursor*>>
        cursors;
    static SDL_Cursor* shown = nullptr;
    SDL_Cursor* wanted = SDL_GetDefaultCursor();
    if (over && over->mouseIcon) {
        const auto key = std::make_pair(over->mouseIcon.get(), scale);
        auto it = cursors.find(key);
        if (it == cursors.end()) {
            SDL_Cursor* cursor = nullptr;
            if (SDL_Surface* s = ScaledSurface(*over->mouseIcon, scale)) {
                cursor = SDL_CreateColorCursor(s, over->mouseHotX * scale, over->mouseHotY * scale);
                SDL_FreeSurface(s);
            }
            // A cursor that cannot be made falls back to the arrow.
            it = cursors.emplace(key, std::make_pair(over->mouseIcon, cursor)).first;
        }
        if (it->second.second) wanted = it->second.second;
    }
    if (wanted != shown) {
        SDL_SetCursor(wanted);
        shown = wanted;
    }
}

} // namespace platform::sdl
