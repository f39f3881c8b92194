#include "platform/sdl/window_scale.h"

#include <algorithm>
#include <cmath>

namespace platform::sdl {

int ChooseScale(int usableWidth, int usableHeight, double displayScale, int width, int height) {
    if (width <= 0 || height <= 0) return 1;
    // The frame grows with the display's scaling; anything odd counts as no scaling.
    if (!(displayScale >= 1.0 && displayScale <= 8.0)) displayScale = 1.0;
    const int frameX = int(std::ceil(kFrameAllowanceX * displayScale));
    const int frameY = int(std::ceil(kFrameAllowanceY * displayScale));
    const int across = (usableWidth - frameX) / width;
    const int down = (usableHeight - frameY) / height;
    return std::max(1, std::min(across, down));
}

} // namespace platform::sdl
