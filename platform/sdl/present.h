// Putting a picture on the screen cheaply: only the parts that changed since the last time are
// enlarged and handed to the display, never more often than the screen refreshes, and never
// at all when nothing changed. A software renderer that redrew and enlarged the whole window a
// hundred times a second cost half a core at twice the size; these parts need no display, so
// the tests check them directly.
#pragma once

#include "platform/compose.h"

#include <cstdint>
#include <vector>

namespace platform::sdl {

// Where the picture lies in its window: every picture pixel a square of `scale` window pixels,
// the picture's top-left corner at (x, y), the rest of the window black.
struct PictureLayout {
    int scale = 1;
    int x = 0;
    int y = 0;
};

// The largest whole factor at which the picture fits the window (at least 1), centred.
PictureLayout FitPicture(int windowWidth, int windowHeight, int pictureWidth, int pictureHeight);

// A rectangle in picture pixels.
struct Area {
    int x = 0, y = 0, w = 0, h = 0;
    bool operator==(const Area&) const = default;
};

// Side of the square tiles in which changes are looked for.
constexpr int kChangeTile = 32;

// The parts of `now` that differ from `shown`: the changed tiles, joined along each row of
// tiles, clipped to the picture. The whole picture when the sizes differ; none when equal.
std::vector<Area> ChangedAreas(const FrameBuffer& shown, const FrameBuffer& now);

// The parts of `now` that differ from `shown` (same size) within the areas given, which do not
// overlap: each area narrowed to the rows and columns that changed, none where nothing did.
std::vector<Area> ChangedWithin(const FrameBuffer& shown, const FrameBuffer& now,
                                const std::vector<ClipRect>& areas);

// Copies an area of `from` into `to` (same size), so that `to` shows what `from` does there.
void CopyArea(const FrameBuffer& from, const Area& area, FrameBuffer& to);

// A 32-bit pixel buffer of the screen: `pitch` bytes from one row to the next. Each pixel is
// 0x00RRGGBB with `opaque` added (the alpha bits of a format that has them).
struct ScreenPixels {
    std::uint32_t* pixels = nullptr;
    int width = 0, height = 0, pitch = 0;
    std::uint32_t opaque = 0;
};

// Draws an area of the picture enlarged by the layout into the screen buffer (clipped to it).
void PaintArea(const FrameBuffer& picture, const Area& area, const PictureLayout& layout,
               const ScreenPixels& screen);

// Fills the whole screen buffer black and draws the whole picture.
void PaintAll(const FrameBuffer& picture, const PictureLayout& layout, const ScreenPixels& screen);

// The area in window pixels.
Area OnScreen(const Area& area, const PictureLayout& layout);

// No more pictures than the screen shows: with a known refresh rate, a picture is due once a
// refresh period after the previous one; with none known (0), at once.
class PresentPace {
  public:
    explicit PresentPace(int refreshHz = 0) { setRefreshRate(refreshHz); }
    void setRefreshRate(int refreshHz);
    // True when a picture may be shown at `nowMs` (milliseconds, wrapping).
    bool due(std::uint32_t nowMs) const;
    // How long until a picture is due, in whole milliseconds (0 when due now).
    int waitMs(std::uint32_t nowMs) const;
    void presented(std::uint32_t nowMs);

  private:
    std::uint32_t periodMs_ = 0; // a whole number of milliseconds, rounded up; 0: no limit
    std::uint32_t lastMs_ = 0;
    bool any_ = false;
};

} // namespace platform::sdl
