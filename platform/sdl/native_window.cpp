#include "platform/sdl/native_window.h"
#include "platform/sdl/target.h"

#include "platform/key_latency.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <utility>

namespace platform::sdl {

namespace {

// Rounds towards minus infinity: the black left of the picture is left of its first column.
int FloorDiv(int a, int b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

SDL_Point CentreOver(SDL_Window* over, int w, int h) {
    if (!over) return {int(SDL_WINDOWPOS_CENTERED), int(SDL_WINDOWPOS_CENTERED)};
    int x = 0, y = 0, ow = 0, oh = 0;
    SDL_GetWindowPosition(over, &x, &y);
    SDL_GetWindowSize(over, &ow, &oh);
    return {x + (ow - w) / 2, y + (oh - h) / 2};
}

} // namespace

NativeWindow::NativeWindow(const std::string& title, int width, int height, int scale,
                           const WindowLook& look, SDL_Window* over) {
    scale = std::max(1, scale);
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (!look.border) flags |= SDL_WINDOW_BORDERLESS;
    if (!look.taskbar) flags |= SDL_WINDOW_SKIP_TASKBAR;
    if (look.topmost) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
    const int windowedWidth = width * scale, windowedHeight = height * scale;
    layout_.scale = scale;
    const SDL_Point at = CentreOver(over, windowedWidth, windowedHeight);
    window_ = SDL_CreateWindow(title.c_str(), at.x, at.y, windowedWidth, windowedHeight, flags);
    if (!window_) {
        std::fprintf(stderr, "Vexaro!!: cannot open a window: %s\n", SDL_GetError());
        return;
    }
    noteRefreshRate();
    // Before the window is mapped, so that the window manager stacks it above its owner at once.
    if (look.owner) SDL_SetWindowModalFor(window_, look.owner);
    SDL_ShowWindow(window_);
    if (look.minimised) SDL_MinimizeWindow(window_);
}

NativeWindow::~NativeWindow() {
    if (shadow_) SDL_FreeSurface(shadow_);
    if (window_) SDL_DestroyWindow(window_);
}

void NativeWindow::noteRefreshRate() {
    // Where the display does not say (a virtual one), the rate nearly every screen has.
    constexpr int kUsualRefreshHz = 60;
    SDL_DisplayMode mode;
    const int display = SDL_GetWindowDisplayIndex(window_);
    const bool known =
        display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0 && mode.refresh_rate > 0;
    pace_.setRefreshRate(known ? mode.refresh_rate : kUsualRefreshHz);
}

void NativeWindow::show(const FrameBuffer& frame) {
    if (!ok() || frame.width <= 0 || frame.height <= 0) return;
    const bool whole = frame.width != shown_.width || frame.height != shown_.height;
    const std::vector<Area> areas = ChangedAreas(shown_, frame);
    if (areas.empty()) return; // the same picture again: the screen has it already
    if (whole)
        shown_ = frame;
    else
        for (const Area& area : areas)
            CopyArea(frame, area, shown_);
    pace_.presented(SDL_GetTicks());
    draw(whole ? nullptr : &areas);
}

void NativeWindow::show(const FrameBuffer& frame, const std::vector<ClipRect>& composed) {
    if (!ok() || frame.width <= 0 || frame.height <= 0) return;
    if (frame.width != shown_.width || frame.height != shown_.height) return show(frame);
    const std::vector<Area> areas = ChangedWithin(shown_, frame, composed);
    if (areas.empty()) return; // drawn again the same: the screen has it already
    for (const Area& area : areas)
        CopyArea(frame, area, shown_);
    pace_.presented(SDL_GetTicks());
    draw(&areas);
}

void NativeWindow::present() {
    if (ok() && shown_.width > 0) draw(nullptr);
}

void NativeWindow::draw(const std::vector<Area>* areas) {
    SDL_Surface* surface = SDL_GetWindowSurface(window_);
    if (!surface) {
        static bool told = false;
        if (!told)
            std::fprintf(stderr, "Vexaro!!: cannot draw into a window: %s\n", SDL_GetError());
        told = true;
        return;
    }
    // The picture's place follows the window's size: its own size, or the whole screen.
    const PictureLayout layout = FitPicture(surface->w, surface->h, shown_.width, shown_.height);
    const bool moved = layout.scale != layout_.scale || layout.x != layout_.x ||
                       layout.y != layout_.y || surface->w != windowWidth_ ||
                       surface->h != windowHeight_;
    layout_ = layout;
    windowWidth_ = surface->w;
    windowHeight_ = surface->h;
    if (moved) areas = nullptr;

    // Straight into the window's pixels where they are 32-bit RGB, as on every usual desktop;
    // through a copy that SDL converts elsewhere.
    const Uint32 format = surface->format->format;
    const bool direct = format == SDL_PIXELFORMAT_RGB888 || format == SDL_PIXELFORMAT_ARGB8888;
    SDL_Surface* target = direct ? surface : shadowOf(surface);
    if (!target) return;
    if (SDL_MUSTLOCK(target)) SDL_LockSurface(target);
    ScreenPixels pixels{static_cast<std::uint32_t*>(target->pixels), target->w, target->h,
                        target->pitch, format == SDL_PIXELFORMAT_ARGB8888 ? 0xFF000000u : 0u};
    if (!areas)
        PaintAll(shown_, layout_, pixels);
    else
        for (const Area& area : *areas)
            PaintArea(shown_, area, layout_, pixels);
    if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);

    std::vector<SDL_Rect> rects;
    if (areas)
        for (const Area& area : *areas) {
            const Area on = OnScreen(area, layout_);
            SDL_Rect r{on.x, on.y, on.w, on.h};
            const SDL_Rect window{0, 0, surface->w, surface->h};
            if (SDL_IntersectRect(&r, &window, &r)) rects.push_back(r);
        }
    else
        rects.push_back({0, 0, surface->w, surface->h});
    if (!direct)
        for (SDL_Rect r : rects)
            SDL_BlitSurface(target, &r, surface, &r);
    SDL_UpdateWindowSurfaceRects(window_, rects.data(), int(rects.size()));
    target::WindowUpdated(window_);
    latency::Presented();
}

SDL_Surface* NativeWindow::shadowOf(const SDL_Surface* surface) {
    if (shadow_ && (shadow_->w != surface->w || shadow_->h != surface->h)) {
        SDL_FreeSurface(shadow_);
        shadow_ = nullptr;
    }
    if (!shadow_)
        shadow_ =
            SDL_CreateRGBSurfaceWithFormat(0, surface->w, surface->h, 32, SDL_PIXELFORMAT_RGB888);
    return shadow_;
}

void NativeWindow::setFullScreen(bool on) {
    if (!ok() || on == fullScreen_) return;
    if (SDL_SetWindowFullscreen(window_, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) {
        std::fprintf(stderr, "Vexaro!!: cannot change to full screen: %s\n", SDL_GetError());
        return;
    }
    // Back from full screen, the window manager puts the window where it was, at its size. SDL is
    // not asked to move it there: its records of the window's place and frame can still be those
    // of full screen just then, and would put the window a frame's width away.
    fullScreen_ = on;
    noteRefreshRate(); // the window may have gone to another screen
    present();
}

int NativeWindow::toPictureX(int windowX) const {
    return FloorDiv(windowX - layout_.x, layout_.scale);
}

int NativeWindow::toPictureY(int windowY) const {
    return FloorDiv(windowY - layout_.y, layout_.scale);
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
