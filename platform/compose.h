// The software compositor: draws a window's control tree into one frame buffer.
#pragma once

#include "platform/controls.h"

#include <vector>

namespace platform {

// Height of the menu bar the game draws itself above the client area, in pixels.
constexpr int kMenuBarHeight = 20;

struct FrameBuffer {
    int width = 0;
    int height = 0;
    std::vector<Pixel> pixels; // row by row, width * height
    Pixel& at(int x, int y) { return pixels[std::size_t(y) * width + x]; }
    Pixel at(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
    Surface toSurface() const;
};

// Client area of a form in pixels.
int ClientPixelWidth(const Form& form);
int ClientPixelHeight(const Form& form);
// Height of the form's menu bar in pixels (0 without a menu).
int MenuBarPixelHeight(const Form& form);
// Thickness of the dialog frame the game draws around the form, in pixels (0 without one).
constexpr int kDialogFramePixels = 3;
int FramePixels(const Form& form);

// Draws the form: its dialog frame or its menu bar (if it has one), and the client area.
void ComposeWindow(const Form& form, FrameBuffer& out);

// A window's picture kept up to date by composing only what changed since the last time (the
// form's damage). With VEXARO_CHECK_PICTURE=1 in the environment, as the tests run, every
// update also composes the whole picture and ends the program with a message when any pixel
// differs, so that a change that was not marked cannot leave a stale pixel unseen.
class WindowPicture {
  public:
    // Composes the parts of the picture that changed (all of it the first time and when its size
    // changed) and returns them; none when nothing changed.
    std::vector<ClipRect> update(Form& form);
    const FrameBuffer& frame() const { return frame_; }

  private:
    void check(const Form& form);

    FrameBuffer frame_;
    FrameBuffer whole_; // the checking mode's picture
};

// Whether the checking mode is on (VEXARO_CHECK_PICTURE=1).
bool CheckingPictures();

// Draws a container's visible contents with its top-left corner at (x, y) of the frame
// buffer, clipped to the given rectangle.
void ComposeBox(const PictureBox& box, int x, int y, const ClipRect& clip, FrameBuffer& out);

// The menu bar's look; the open menu (if any) is drawn over the client area.
struct MenuBarState {
    int openTitle = -1;   // index of the dropped-down title, -1 for none
    int hotItem = -1;     // highlighted item of the open menu
    bool focused = false; // the bar is active from the keyboard (Alt or F10)
    bool showAccessKeys = true;
};
extern MenuBarState g_menuBar;
void DrawMenuBar(const Form& form, FrameBuffer& out);

// The classic raised edge of a panel or a dialog frame: grey face, a light bevel above and left
// and a dark one below and right, two pixels deep.
void DrawRaisedEdge(FrameBuffer& out, int x0, int y0, int x1, int y1);

} // namespace platform
