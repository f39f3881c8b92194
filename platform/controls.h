// Retained controls: what a window is made of. Positions and sizes are in twips, relative to
// the container; the compositor turns them into pixels with the screen's twips per pixel.
#pragma once

#include "platform/child_index.h"
#include "platform/damage.h"
#include "platform/surface.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// Twips to pixels the way the whole game converts: round to a whole number of twips (halves to
// even), then divide truncating toward zero.
std::int32_t RoundLong(double value);
inline int TwipsToPixels(double twips, int twipsPerPixel) {
    return RoundLong(twips) / twipsPerPixel;
}

// The screen's twips per pixel, set once at start-up from its logical dots per inch.
extern int g_twipsX;
extern int g_twipsY;

enum class ControlKind { Form, PictureBox, Image, Label, Line, Shape };

class Control {
  public:
    explicit Control(ControlKind kind, std::string name) : kind_(kind), name_(std::move(name)) {}
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    ControlKind kind() const { return kind_; }
    const std::string& name() const { return name_; }
    bool windowed() const { return kind_ == ControlKind::Form || kind_ == ControlKind::PictureBox; }

    float left() const { return left_; }
    float top() const { return top_; }
    float width() const { return width_; }
    float height() const { return height_; }
    bool visible() const { return visible_; }
    class Container* parent() const {
        return parent_;
    }

    void move(float left, float top);
    void move(float left, float top, float width, float height);
    void setSize(float width, float height);
    void setVisible(bool visible);
    void show() { setVisible(true); }
    void hide() { setVisible(false); }

    // The mouse pointer shown over this control (none: the ordinary arrow), with its hot spot in
    // the picture's pixels.
    std::shared_ptr<const Picture> mouseIcon;
    int mouseHotX = 0, mouseHotY = 0;

  protected:
    // Called after the size in twips changed.
    virtual void sizeChanged() {}
    // Called after the control was shown or hidden.
    virtual void visibilityChanged() {}
    // Leaves the container while the control is still whole, so that the part of the picture it
    // covered is marked as changed: called first by the destructor of each kind of control.
    void detach();
    // Marks the pixels the control paints as changed in its window's picture, where it is shown.
    void repaint() const;
    // The same after a change that may have moved it from `before` (its pixels then): both
    // places when it moved, nothing when it stayed.
    void repaintMovedFrom(const ClipRect& before) const;

  private:
    friend class Container;
    friend class ChildIndex;
    ControlKind kind_;
    std::string name_;
    class Container* parent_ = nullptr;
    std::size_t slot_ = 0; // place among the parent's children
    int indexEntry_ = -1;  // in the parent's ChildIndex, -1 when not in one
    float left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
};

// A control that holds others. Children are kept back to front; windowless children (images,
// labels, lines, shapes) are always painted below windowed ones (picture boxes).
class Container : public Control {
  public:
    using Control::Control;
    ~Container() override;

    // Adds a child in front of its siblings.
    void add(Control& child);
    void remove(Control& child);
    void bringToFront(Control& child);
    const std::vector<Control*>& children() const {
        if (holes_) closeHoles();
        return children_;
    }

    // The windowless children (images, labels, lines, shapes), back to front.
    const std::vector<Control*>& windowlessChildren() const { return windowless_; }

    // The child windows that may meet the pixels [x0, x1) x [y0, y1) of this container, back to
    // front: all of them in a small container, those nearby in a large one. The caller tests
    // each against the rectangle.
    void childWindowsNear(int x0, int y0, int x1, int y1, std::vector<Control*>& out) const;
    // The frontmost shown child window whose pixel rectangle holds pixel (x, y) of this
    // container (right and bottom edges outside), or nullptr.
    Control* childWindowAt(int x, int y) const;

  private:
    friend class Control;
    void childMoved(Control& child);
    void closeHoles() const;
    void collectNear(int x0, int y0, int x1, int y1, std::vector<Control*>& out) const;

    // Removed children leave a hole that is closed the next time the list is read, so that
    // removing every sprite of a stage costs no more than making them.
    mutable std::vector<Control*> children_;
    mutable std::size_t holes_ = 0;
    std::vector<Control*> windowless_;
    std::unique_ptr<ChildIndex> index_; // made once the container holds many child windows
};

// Whether the control's pixel rectangle, as the compositor places it in its container, holds
// pixel (x, y) of the container (right and bottom edges outside).
bool HoldsPixel(const Control& c, int x, int y);

// The first control of that name among a container's children and theirs, or nullptr.
Control* FindControl(Container& container, const std::string& name);

// The pixels a control paints, in its container's pixels (its own rectangle; for a line, the
// rectangle its pen covers; nothing for an image without a picture).
ClipRect PaintedRect(const Control& c);

// Marks pixels of a container's content (in its pixels) as changed in its window's picture,
// clipped to the container and every one around it; nothing where one of them is hidden or the
// container is in no window.
void DamageInside(Container& container, ClipRect r);

// A change to what a window shows that was not marked where it happened (the game's own changes
// to menus, colours and window states): every window is drawn anew, whole.
void MarkChanged();

// A child window with its own pixel surface. Every picture box has an identity that is distinct
// for every live one and never reused.
class PictureBox : public Container, private SurfaceWatcher {
  public:
    explicit PictureBox(std::string name, ControlKind kind = ControlKind::PictureBox);
    ~PictureBox() override;

    std::uint32_t handle() const { return handle_; }
    // Everything drawn into the surface marks that part of the window's picture as changed.
    Surface& surface() { return surface_; }
    const Surface& surface() const { return surface_; }
    Pixel backColor() const { return backColor_; }
    void setBackColor(Pixel colour);
    // A persistent box keeps what was drawn into it. One that is not loses it when hidden and
    // shows its back colour when shown again, until something is drawn into it anew.
    bool persistent = true;

    // Gives the box the size of a picture (in twips) and copies the picture into its surface.
    void fitToPicture(const Surface& picture);
    // Clears the surface to the back colour at the box's present pixel size.
    void clear();

  protected:
    // Keeps the surface at the box's pixel size: what was drawn stays where both overlap.
    void sizeChanged() override;
    void visibilityChanged() override;

  private:
    void surfaceChanged(int x0, int y0, int x1, int y1) override;

    std::uint32_t handle_;
    Surface surface_;
    Pixel backColor_ = Rgb(255, 255, 255);
};

// A windowless picture. Without stretching it takes its picture's size.
class Image : public Control {
  public:
    explicit Image(std::string name) : Control(ControlKind::Image, std::move(name)) {}
    ~Image() override { detach(); }
    const std::shared_ptr<const Picture>& picture() const { return picture_; }
    void setPicture(std::shared_ptr<const Picture> picture);
    bool stretch = false;

  private:
    std::shared_ptr<const Picture> picture_;
};

struct FontSpec {
    std::string face;
    double points = 9;
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

class Label : public Control {
  public:
    explicit Label(std::string name) : Control(ControlKind::Label, std::move(name)) {}
    ~Label() override { detach(); }
    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    Pixel foreColor = 0;
    Pixel backColor = Rgb(255, 255, 255);
    bool transparent = true;
    bool autoSize = false; // sized to its text when the caption changes
    FontSpec font;

  private:
    std::string caption_;
};

class Line : public Control {
  public:
    explicit Line(std::string name) : Control(ControlKind::Line, std::move(name)) {}
    ~Line() override { detach(); }
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0; // twips in the container
    void setY(float y1Value, float y2Value);
    void setY1(float value);
    void setY2(float value);
    Pixel color = 0;
    int borderWidth = 1; // pixels
};

class Shape : public Control {
  public:
    explicit Shape(std::string name) : Control(ControlKind::Shape, std::move(name)) {}
    ~Shape() override { detach(); }
    Pixel borderColor = 0;
    int borderWidth = 1;
    bool filled = false;
    Pixel fillColor = 0;
};

class Timer {
  public:
    explicit Timer(std::string name);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    const std::string& name() const { return name_; }
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled); // enabling starts a fresh interval
    int interval = 1000;           // milliseconds
    std::function<void()> onTimer;

    // Fires every enabled timer whose interval has run out at tick count `now`. Called by the
    // backends from their message step.
    static void FireDue(std::uint32_t now);
    // The milliseconds from `now` until the next enabled timer is due (0 when one is due), or
    // `atMost` when none is due sooner: how long a message step may wait.
    static int MsUntilDue(std::uint32_t now, int atMost);
    // The timer of that name, or nullptr.
    static Timer* Find(const std::string& name);

  private:
    // Enabled with an interval: the only timers that ever fire.
    bool running() const { return enabled_ && interval > 0; }
    // The milliseconds left at `now` until the interval runs out (0 or less: due).
    std::int64_t msLeft(std::uint32_t now) const;
    bool due(std::uint32_t now) const;
    std::string name_;
    bool enabled_ = false;
    std::uint32_t started_ = 0;
};

struct MenuItem {
    std::string name;
    std::string caption; // "&" marks the access key, "-" is a separator
    bool checked = false;
    bool enabled = true;
    bool visible = true;
    std::vector<MenuItem> items;
    std::function<void()> onClick;
};

// A top-level window. Its own surface is the client area's background.
class Form : public PictureBox {
  public:
    explicit Form(std::string name);
    ~Form() override;

    std::string caption;
    std::vector<MenuItem> menu; // the menu bar's titles, each with its items
    std::shared_ptr<const Picture> icon;
    bool hasBorder = true; // caption bar and frame; false for a borderless dialog window
    // A borderless window with the fixed dialog frame, drawn around the client area in the
    // classic raised look, and no title bar. Such a window has no menu bar.
    bool dialogFrame = false;
    bool showInTaskbar = true;
    int windowState = 0; // 0 normal, 1 minimised
    bool topmost = false;
    bool loaded = false;
    bool shownModal = false;

    // Client area in twips (the window's inner size).
    float scaleWidth = 0, scaleHeight = 0;

    std::function<void(int key)> onKeyDown;
    std::function<void()> onUnload;
    // Mouse events in client pixels, over the control found there (nullptr: the background).
    std::function<void(Control* over, int x, int y)> onClick;
    std::function<void(Control* over, int x, int y)> onMouseMove;
    std::function<void(int notches)> onMouseWheel; // positive: away from the user

    MenuItem* findMenuItem(const std::string& name);
    // Sets the client area (twips); the form's surface is the client area's picture.
    void setClientSize(float width, float height);

    // The parts of the window's picture (its frame or menu bar included) changed since it was
    // last composed.
    Damage& damage() { return damage_; }
    // Marks pixels of the client area as changed.
    void damageClient(const ClipRect& r);

    static const std::vector<Form*>& All();

  protected:
    void sizeChanged() override {} // the outer size does not change the client area
    void visibilityChanged() override;

  private:
    Damage damage_;
};

// True while the form with this handle exists and is loaded: what a modal loop waits on, since a
// handler that runs inside the loop may unload its form, or destroy it and make a new one.
bool FormLoaded(std::uint32_t handle);

} // namespace platform
