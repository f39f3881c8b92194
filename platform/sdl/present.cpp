#include "platform/sdl/present.h"

#include <algorithm>
#include <cstring>

namespace platform::sdl {

namespace {

std::uint32_t* ScreenRow(const ScreenPixels& screen, int y) {
    return reinterpret_cast<std::uint32_t*>(reinterpret_cast<unsigned char*>(screen.pixels) +
                                            std::size_t(y) * screen.pitch);
}

const Pixel* PixelAt(const FrameBuffer& frame, int x, int y) {
    return frame.pixels.data() + std::size_t(y) * frame.width + x;
}

bool SameSpan(const FrameBuffer& a, const FrameBuffer& b, int x, int y, int n) {
    return std::memcmp(PixelAt(a, x, y), PixelAt(b, x, y), sizeof(Pixel) * n) == 0;
}

// The changed tiles of one row of tiles (rows y0 .. y1 - 1 of the picture).
std::vector<bool> ChangedTiles(const FrameBuffer& shown, const FrameBuffer& now, int y0, int y1) {
    const int tiles = (now.width + kChangeTile - 1) / kChangeTile;
    std::vector<bool> changed(tiles, false);
    for (int y = y0; y < y1; ++y) {
        if (SameSpan(shown, now, 0, y, now.width)) continue; // most rows: one comparison
        for (int t = 0; t < tiles; ++t) {
            const int x = t * kChangeTile;
            if (!changed[t] && !SameSpan(shown, now, x, y, std::min(kChangeTile, now.width - x)))
                changed[t] = true;
        }
    }
    return changed;
}

} // namespace

PictureLayout FitPicture(int windowWidth, int windowHeight, int pictureWidth, int pictureHeight) {
    PictureLayout layout;
    if (pictureWidth <= 0 || pictureHeight <= 0) return layout;
    layout.scale = std::max(1, std::min(windowWidth / pictureWidth, windowHeight / pictureHeight));
    // A window too small for the picture shows its top-left part: the menu bar stays in reach.
    layout.x = std::max(0, (windowWidth - pictureWidth * layout.scale) / 2);
    layout.y = std::max(0, (windowHeight - pictureHeight * layout.scale) / 2);
    return layout;
}

std::vector<Area> ChangedAreas(const FrameBuffer& shown, const FrameBuffer& now) {
    if (shown.width != now.width || shown.height != now.height)
        return {{0, 0, now.width, now.height}};
    std::vector<Area> areas;
    for (int y0 = 0; y0 < now.height; y0 += kChangeTile) {
        const int y1 = std::min(now.height, y0 + kChangeTile);
        const std::vector<bool> changed = ChangedTiles(shown, now, y0, y1);
        for (int t = 0; t < int(changed.size());) {
            if (!changed[t]) {
                ++t;
                continue;
            }
            const int first = t;
            while (t < int(changed.size()) && changed[t])
                ++t;
            const int x0 = first * kChangeTile, x1 = std::min(now.width, t * kChangeTile);
            const Area area{x0, y0, x1 - x0, y1 - y0};
            // The same span in the row of tiles above grows downwards: a scrolling playfield
            // is one area, not a dozen.
            auto above = std::find_if(areas.begin(), areas.end(), [&](const Area& a) {
                return a.x == area.x && a.w == area.w && a.y + a.h == area.y;
            });
            if (above != areas.end())
                above->h += area.h;
            else
                areas.push_back(area);
        }
    }
    return areas;
}

std::vector<Area> ChangedWithin(const FrameBuffer& shown, const FrameBuffer& now,
                                const std::vector<ClipRect>& areas) {
    std::vector<Area> changed;
    for (const ClipRect& given : areas) {
        const ClipRect r = given.intersect({0, 0, now.width, now.height});
        if (r.empty()) continue;
        int x0 = r.x1, x1 = r.x0, y0 = r.y1, y1 = r.y0;
        for (int y = r.y0; y < r.y1; ++y) {
            if (SameSpan(shown, now, r.x0, y, r.x1 - r.x0)) continue;
            y0 = std::min(y0, y);
            y1 = y + 1;
            const Pixel* a = PixelAt(shown, 0, y);
            const Pixel* b = PixelAt(now, 0, y);
            int left = r.x0, right = r.x1;
            while (a[left] == b[left]) // a difference lies in the span
                ++left;
            while (a[right - 1] == b[right - 1])
                --right;
            x0 = std::min(x0, left);
            x1 = std::max(x1, right);
        }
        if (y0 < y1) changed.push_back({x0, y0, x1 - x0, y1 - y0});
    }
    return changed;
}

void CopyArea(const FrameBuffer& from, const Area& area, FrameBuffer& to) {
    for (int y = area.y; y < area.y + area.h; ++y)
        std::memcpy(&to.at(area.x, y), PixelAt(from, area.x, y), sizeof(Pixel) * area.w);
}

Area OnScreen(const Area& area, const PictureLayout& layout) {
    return {layout.x + area.x * layout.scale, layout.y + area.y * layout.scale,
            area.w * layout.scale, area.h * layout.scale};
}

void PaintArea(const FrameBuffer& picture, const Area& area, const PictureLayout& layout,
               const ScreenPixels& screen) {
    const int s = layout.scale;
    const Area target = OnScreen(area, layout);
    const int x0 = std::max(0, target.x), x1 = std::min(screen.width, target.x + target.w);
    const int y0 = std::max(0, target.y), y1 = std::min(screen.height, target.y + target.h);
    if (x0 >= x1 || y0 >= y1) return;
    for (int y = y0; y < y1; ++y) {
        std::uint32_t* out = ScreenRow(screen, y) + x0;
        // Every further screen row of one picture row is a copy of the first.
        if (y > y0 && (y - layout.y) % s != 0) {
            std::memcpy(out, ScreenRow(screen, y - 1) + x0, sizeof(std::uint32_t) * (x1 - x0));
            continue;
        }
        const Pixel* in = PixelAt(picture, 0, (y - layout.y) / s);
        int px = (x0 - layout.x) / s, repeat = (x0 - layout.x) % s;
        for (int x = x0; x < x1; ++x) {
            *out++ = in[px] | screen.opaque;
            if (++repeat == s) {
                repeat = 0;
                ++px;
            }
        }
    }
}

void PaintAll(const FrameBuffer& picture, const PictureLayout& layout, const ScreenPixels& screen) {
    for (int y = 0; y < screen.height; ++y)
        std::fill_n(ScreenRow(screen, y), screen.width, screen.opaque); // black bars
    PaintArea(picture, {0, 0, picture.width, picture.height}, layout, screen);
}

void PresentPace::setRefreshRate(int refreshHz) {
    periodMs_ = refreshHz > 0 ? std::uint32_t((1000 + refreshHz - 1) / refreshHz) : 0;
}

bool PresentPace::due(std::uint32_t nowMs) const {
    return waitMs(nowMs) == 0;
}

int PresentPace::waitMs(std::uint32_t nowMs) const {
    if (!any_ || periodMs_ == 0) return 0;
    const std::uint32_t elapsed = nowMs - lastMs_; // wraps with the clock
    return elapsed >= periodMs_ ? 0 : int(periodMs_ - elapsed);
}

void PresentPace::presented(std::uint32_t nowMs) {
    lastMs_ = nowMs;
    any_ = true;
}

} // namespace platform::sdl
