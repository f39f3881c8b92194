// One desktop window showing a picture of ours, every pixel a square of `scale` screen pixels.
#pragma once

#include "platform/compose.h"

#include <SDL.h>
#include <string>

namespace platform::sdl {

struct WindowLook {
    bool border = true;  // caption bar and frame from the window manager
    bool taskbar = true; // a button in the taskbar
    bool topmost = false;
    bool minimised = false;
    // The window this one belongs to: it is kept above it (transient for it), also when that
    // one stays on top of all others.
    SDL_Window* owner = nullptr;
};

class NativeWindow {
  public:
    // A window for a picture of width x height, centred over `over` (or on the screen when null).
    NativeWindow(const std::string& title, int width, int height, int scale, const WindowLook& look,
                 SDL_Window* over = nullptr);
    ~NativeWindow();
    NativeWindow(const NativeWindow&) = delete;
    NativeWindow& operator=(const NativeWindow&) = delete;

    bool ok() const { return window_ && renderer_; }
    Uint32 id() const { return window_ ? SDL_GetWindowID(window_) : 0; }
    SDL_Window* sdl() const { return window_; }
    int scale() const { return scale_; }

    // Uploads the picture (one texture upload) and shows it.
    void show(const FrameBuffer& frame);
    // Shows the last picture again (the window was uncovered).
    void present();
    void setIcon(const Picture& icon);
    // Window pixels to picture pixels.
    int toPicture(int windowPixel) const { return windowPixel / scale_; }

  private:
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    int textureWidth_ = 0, textureHeight_ = 0;
    int scale_ = 1;
};

// An SDL surface of the picture, every pixel a square of `scale` (for icons and cursors).
SDL_Surface* ScaledSurface(const Picture& picture, int scale);

// The mouse pointer over a control: its own picture when it has one, else the arrow.
void ShowPointer(const Control* over, int scale);

} // namespace platform::sdl
