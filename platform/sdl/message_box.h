// The game's own message box in the classic desktop look: a caption bar with the title, the
// text, and OK or Yes and No. Layout, drawing and input are here; the window is in msgbox_sdl.
#pragma once

#include "platform/compose.h"

#include <string>
#include <vector>

namespace platform::sdl {

struct BoxRect {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool contains(int x, int y) const { return x >= x0 && x < x1 && y >= y0 && y < y1; }
};

struct BoxButton {
    std::string caption; // "&" marks the access key
    int result = 0;      // vbOK, vbYes or vbNo
    BoxRect rect;
};

class MessageBoxModel {
  public:
    // An empty title means the game's name.
    MessageBoxModel(const std::string& text, int buttons, const std::string& title);

    const std::string& title() const { return title_; }
    int width() const { return width_; }
    int height() const { return height_; }
    const std::vector<BoxButton>& buttons() const { return buttons_; }
    int focus() const { return focus_; }
    // The button pressed, 0 while the box is still up.
    int result() const { return result_; }
    // The caption bar, by which the box can be dragged (its close box excluded).
    bool inCaptionBar(int x, int y) const;

    void keyDown(int vk);
    void keyUp(int vk);
    void mouseDown(int x, int y);
    void mouseMove(int x, int y);
    void mouseUp(int x, int y);
    // The window's close request: the answer Escape gives.
    void close() { result_ = cancelResult(); }

    void draw(FrameBuffer& out) const;

  private:
    int cancelResult() const;
    int buttonAt(int x, int y) const;

    std::string title_;
    std::vector<std::string> lines_;
    std::vector<BoxButton> buttons_;
    BoxRect closeBox_;
    int width_ = 0, height_ = 0, textTop_ = 0, lineHeight_ = 0;
    int focus_ = 0;
    int pressed_ = -1; // the button held down by the mouse (or the Space key)
    bool pressedInside_ = false;
    bool spaceDown_ = false;
    int result_ = 0;
};

} // namespace platform::sdl
