#include "platform/sdl/window_scale.h"

#include <algorithm>

namespace platform::sdl {

int ChooseScale(int usableWidth, int usableHeight, int width, int height) {
    if (width <= 0 || height <= 0) return 1;
    const int across = (usableWidth - kFrameAllowanceX) / width;
    const int down = (usableHeight - kFrameAllowanceY) / height;
    return std::max(1, std::min(across, down));
}

} // namespace platform::sdl
