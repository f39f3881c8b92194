// One desktop window showing a picture of ours, every pixel a square of whole screen pixels.
#pragma once

#include "platform/compose.h"
#include "platform/sdl/present.h"

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
    // A window for a picture of width x height enlarged `scale` times, centred over `over` (or
    // on the screen when null).
    NativeWindow(const std::string& title, int width, int height, int scale, const WindowLook& look,
                 SDL_Window* over = nullptr);
    ~NativeWindow();
    NativeWindow(const NativeWindow&) = delete;
    NativeWindow& operator=(const NativeWindow&) = delete;

    bool ok() const { return window_ != nullptr; }
    Uint32 id() const { return window_ ? SDL_GetWindowID(window_) : 0; }
    SDL_Window* sdl() const { return window_; }
    // The enlargement the picture is drawn at now (larger in full screen).
    int scale() const { return layout_.scale; }

    // Shows the picture: what changed since the last one reaches the screen, nothing else.
    void show(const FrameBuffer& frame);
    // The same when only the given areas of the picture can have changed since the last one.
    void show(const FrameBuffer& frame, const std::vector<ClipRect>& composed);
    // Shows the last picture again, whole (the window was uncovered or changed its size).
    void present();
    // How long until a new picture may go to the screen (0: now): no more often than the screen
    // refreshes.
    int msUntilFrameDue() const { return pace_.waitMs(SDL_GetTicks()); }

    // Full screen on the desktop's resolution, the picture centred on black; leaving it puts the
    // window back where it was, at its own size.
    void setFullScreen(bool on);
    bool fullScreen() const { return fullScreen_; }

    void setIcon(const Picture& icon);
    // Window pixels to picture pixels (negative, or beyond the picture, on the black around it).
    int toPictureX(int windowX) const;
    int toPictureY(int windowY) const;

  private:
    // Draws the given areas of the shown picture (all of it when null, or when the window's
    // size changed) into the window's pixels and hands them to the display.
    void draw(const std::vector<Area>* areas);
    SDL_Surface* shadowOf(const SDL_Surface* surface);
    void noteRefreshRate();

    SDL_Window* window_ = nullptr;
    FrameBuffer shown_; // what the window shows
    PictureLayout layout_;
    int windowWidth_ = 0, windowHeight_ = 0; // the size the layout was made for
    // Where the picture's pixels go when the window's own format is not 32-bit RGB.
    SDL_Surface* shadow_ = nullptr;
    PresentPace pace_;
    bool fullScreen_ = false;
};

// An SDL surface of the picture, every pixel a square of `scale` (for icons and cursors).
SDL_Surface* ScaledSurface(const Picture& picture, int scale);

// The mouse pointer over a control: its own picture when it has one, else the arrow.
void ShowPointer(const Control* over, int scale);

} // namespace platform::sdl
