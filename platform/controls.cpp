#include "platform/controls.h"

#include "platform/backend.h"
#include "platform/compose.h"
#include "platform/desktop.h"
#include "platform/input.h"
#include "platform/text.h"

#include <algorithm>
#include <cmath>

namespace platform {

int g_twipsX = 15;
int g_twipsY = 15;

std::int32_t RoundLong(double value) {
    return std::int32_t(std::lrint(value));
}

// --- What changed in a window's picture ---------------------------------------------------

namespace {

int Px(double twips) {
    return TwipsToPixels(twips, g_twipsX);
}
int Py(double twips) {
    return TwipsToPixels(twips, g_twipsY);
}

// Larger than any picture: "all of it", to be clipped where it lands.
constexpr ClipRect kEverything{0, 0, 1 << 28, 1 << 28};

} // namespace

ClipRect PaintedRect(const Control& c) {
    const int x = Px(c.left()), y = Py(c.top());
    switch (c.kind()) {
    case ControlKind::Form:
        return {0, 0, 0, 0}; // a window, in no container
    case ControlKind::Image: {
        const auto& picture = static_cast<const Image&>(c).picture();
        if (!picture) return {x, y, x, y};
        if (static_cast<const Image&>(c).stretch)
            return {x, y, x + Px(c.width()), y + Py(c.height())};
        return {x, y, x + picture->width(), y + picture->height()};
    }
    case ControlKind::Line: {
        const Line& line = static_cast<const Line&>(c);
        const int x1 = Px(line.x1), y1 = Py(line.y1), x2 = Px(line.x2), y2 = Py(line.y2);
        const int pen = std::max(1, line.borderWidth), half = (pen - 1) / 2;
        return {std::min(x1, x2) - half, std::min(y1, y2) - half, std::max(x1, x2) - half + pen,
                std::max(y1, y2) - half + pen};
    }
    default: // picture boxes, labels and shapes paint their rectangle
        return {x, y, x + Px(c.width()), y + Py(c.height())};
    }
}

void DamageInside(Container& container, ClipRect r) {
    for (Container* box = &container; box;) {
        if (!box->visible()) return;
        if (box->kind() == ControlKind::Form) {
            static_cast<Form*>(box)->damageClient(r);
            return;
        }
        r = r.intersect({0, 0, Px(box->width()), Py(box->height())});
        if (r.empty()) return;
        r = r.moved(Px(box->left()), Py(box->top()));
        box = box->parent();
    }
}

void MarkChanged() {
    for (Form* form : Form::All())
        form->damage().addWhole();
}

// --- Control -------------------------------------------------------------------------------

Control::~Control() {
    // Every kind of control has left its container in its own destructor (detach), while it was
    // still whole; this one only forgets it.
    if (parent_) parent_->remove(*this);
}

void Control::detach() {
    if (parent_) parent_->remove(*this);
}

void Control::repaint() const {
    if (parent_ && visible_) DamageInside(*parent_, PaintedRect(*this));
}

void Control::repaintMovedFrom(const ClipRect& before) const {
    if (!parent_ || !visible_) return;
    const ClipRect after = PaintedRect(*this);
    if (after == before) return;
    DamageInside(*parent_, before);
    DamageInside(*parent_, after);
}

void Control::move(float left, float top) {
    const ClipRect before = PaintedRect(*this);
    left_ = left;
    top_ = top;
    if (parent_) parent_->childMoved(*this);
    repaintMovedFrom(before);
}

void Control::move(float left, float top, float width, float height) {
    const ClipRect before = PaintedRect(*this);
    left_ = left;
    top_ = top;
    setSize(width, height);
    repaintMovedFrom(before);
}

void Control::setSize(float width, float height) {
    const ClipRect before = PaintedRect(*this);
    const bool changed = width != width_ || height != height_;
    width_ = width;
    height_ = height;
    if (changed) sizeChanged();
    if (parent_) parent_->childMoved(*this);
    repaintMovedFrom(before);
}

void Control::setVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    visibilityChanged();
    if (parent_) DamageInside(*parent_, PaintedRect(*this));
}

bool HoldsPixel(const Control& c, int x, int y) {
    const int left = TwipsToPixels(c.left(), g_twipsX), top = TwipsToPixels(c.top(), g_twipsY);
    return x >= left && y >= top && x < left + TwipsToPixels(c.width(), g_twipsX) &&
           y < top + TwipsToPixels(c.height(), g_twipsY);
}

// --- Container ---------------------------------------------------------------------------

namespace {
// A container with more child windows than this keeps an index of where they lie.
constexpr std::size_t kIndexedFrom = 64;
} // namespace

Container::~Container() {
    for (Control* child : children_) {
        if (!child) continue;
        child->parent_ = nullptr;
        child->indexEntry_ = -1;
    }
}

void Container::add(Control& child) {
    if (child.parent_) child.parent_->remove(child);
    if (holes_ > children_.size() / 2) closeHoles();
    child.parent_ = this;
    child.slot_ = children_.size();
    children_.push_back(&child);
    if (!child.windowed()) {
        windowless_.push_back(&child);
    } else if (index_) {
        index_->insert(child);
    } else if (children_.size() - holes_ - windowless_.size() > kIndexedFrom) { // windowed ones
        index_ = std::make_unique<ChildIndex>(g_twipsX, g_twipsY);
        for (Control* c : children())
            if (c->windowed()) index_->insert(*c);
    }
    child.repaint();
}

void Container::remove(Control& child) {
    if (child.parent_ != this) return;
    child.repaint(); // while it is still here
    children_[child.slot_] = nullptr;
    ++holes_;
    if (index_) index_->erase(child);
    if (!child.windowed()) std::erase(windowless_, &child);
    child.parent_ = nullptr;
}

Control* FindControl(Container& container, const std::string& name) {
    for (Control* child : container.children()) {
        if (child->name() == name) return child;
        if (child->windowed())
            if (Control* found = FindControl(*static_cast<Container*>(child), name)) return found;
    }
    return nullptr;
}

void Container::bringToFront(Control& child) {
    if (child.parent_ != this) return;
    children_[child.slot_] = nullptr;
    ++holes_;
    child.slot_ = children_.size();
    children_.push_back(&child);
    if (!child.windowed()) {
        std::erase(windowless_, &child);
        windowless_.push_back(&child);
    }
    child.repaint();
}

void Container::closeHoles() const {
    std::erase(children_, nullptr);
    for (std::size_t i = 0; i < children_.size(); ++i)
        children_[i]->slot_ = i;
    holes_ = 0;
}

void Container::childMoved(Control& child) {
    if (index_) index_->moved(child);
}

void Container::collectNear(int x0, int y0, int x1, int y1, std::vector<Control*>& out) const {
    out.clear();
    if (index_) return index_->collect(x0, y0, x1, y1, g_twipsX, g_twipsY, out);
    for (Control* c : children())
        if (c->windowed()) out.push_back(c);
}

void Container::childWindowsNear(int x0, int y0, int x1, int y1, std::vector<Control*>& out) const {
    collectNear(x0, y0, x1, y1, out);
    if (!index_) return; // already in order
    const auto& all = children();
    // Back to front: sorted when few, else picked out of the whole list in its order.
    if (out.size() * 16 < all.size()) {
        std::sort(out.begin(), out.end(),
                  [](const Control* a, const Control* b) { return a->slot_ < b->slot_; });
        return;
    }
    std::vector<bool> near(all.size());
    for (const Control* c : out)
        near[c->slot_] = true;
    out.clear();
    for (std::size_t i = 0; i < all.size(); ++i)
        if (near[i]) out.push_back(all[i]);
}

Control* Container::childWindowAt(int x, int y) const {
    thread_local std::vector<Control*> near;
    collectNear(x, y, x + 1, y + 1, near);
    Control* found = nullptr;
    for (Control* c : near)
        if ((!found || c->slot_ > found->slot_) && c->visible() && HoldsPixel(*c, x, y)) found = c;
    return found;
}

// --- PictureBox ----------------------------------------------------------------------------

namespace {
std::uint32_t g_nextHandle = 0x1000;
}

PictureBox::PictureBox(std::string name, ControlKind kind)
    : Container(kind, std::move(name)), handle_(g_nextHandle++) {
    surface_.watch(this);
}

PictureBox::~PictureBox() {
    detach();
}

void PictureBox::setBackColor(Pixel colour) {
    if (colour == backColor_) return;
    backColor_ = colour; // shown where the surface is smaller than the box
    DamageInside(*this, kEverything);
}

void PictureBox::surfaceChanged(int x0, int y0, int x1, int y1) {
    DamageInside(*this, {x0, y0, x1, y1});
}

void PictureBox::fitToPicture(const Surface& picture) {
    setSize(float(picture.width() * g_twipsX), float(picture.height() * g_twipsY));
    surface_ = picture;
}

void PictureBox::clear() {
    surface_.reset(TwipsToPixels(width(), g_twipsX), TwipsToPixels(height(), g_twipsY), backColor_);
}

void PictureBox::visibilityChanged() {
    if (!persistent && !visible()) clear();
}

void PictureBox::sizeChanged() {
    const int w = TwipsToPixels(width(), g_twipsX);
    const int h = TwipsToPixels(height(), g_twipsY);
    if (w == surface_.width() && h == surface_.height()) return;
    Surface grown(w, h, backColor_);
    BitBlt(grown, 0, 0, surface_.width(), surface_.height(), surface_, 0, 0, SRCCOPY);
    surface_ = std::move(grown);
}

// --- Image, Label, Line --------------------------------------------------------------------

void Image::setPicture(std::shared_ptr<const Picture> picture) {
    const bool same = picture == picture_;
    if (!same) repaint(); // where the old one was
    picture_ = std::move(picture);
    if (!stretch && picture_)
        setSize(float(picture_->width() * g_twipsX), float(picture_->height() * g_twipsY));
    if (!same) repaint();
}

void Label::setCaption(std::string caption) {
    const bool same = caption == caption_;
    if (!same) repaint();
    caption_ = std::move(caption);
    if (autoSize) {
        const TextSize size = MeasureText(font, caption_);
        setSize(float(size.width * g_twipsX), float(size.height * g_twipsY));
    }
    if (!same) repaint();
}

void Line::setY(float y1Value, float y2Value) {
    if (y1Value == y1 && y2Value == y2) return;
    repaint();
    y1 = y1Value;
    y2 = y2Value;
    repaint();
}
void Line::setY1(float value) {
    setY(value, y2);
}
void Line::setY2(float value) {
    setY(y1, value);
}

// --- The open forms and timers ------------------------------------------------------------

namespace {
// Every form and timer of the program. A form or timer leaves its list in its destructor, which
// for the game's windows runs at exit, after any list made on first use has been destroyed. So
// the lists are never destroyed (they stay reachable, no leak): whatever the order of destruction,
// a form or timer erases itself from live memory.
struct Registry {
    std::vector<Form*> forms;
    std::vector<Timer*> timers;
};
Registry& Open() {
    static Registry& registry = *new Registry;
    return registry;
}
std::vector<Timer*>& Timers() {
    return Open().timers;
}
std::vector<Form*>& Forms() {
    return Open().forms;
}
} // namespace

// --- Timer ---------------------------------------------------------------------------------

Timer::Timer(std::string name) : name_(std::move(name)) {
    Timers().push_back(this);
}

Timer::~Timer() {
    std::erase(Timers(), this);
}

void Timer::setEnabled(bool enabled) {
    // The desktop's clock, not a read of the game's: the timer is the desktop's own.
    if (enabled && !enabled_) started_ = desktop::Ticks();
    enabled_ = enabled;
}

std::int64_t Timer::msLeft(std::uint32_t now) const {
    return std::int64_t(interval) - std::int32_t(now - started_); // the clock wraps
}

bool Timer::due(std::uint32_t now) const {
    return running() && msLeft(now) <= 0;
}

void Timer::FireDue(std::uint32_t now) {
    // Called at every message step: the usual case, nothing due, must cost no allocation.
    const auto& timers = Timers();
    if (std::none_of(timers.begin(), timers.end(), [now](Timer* t) { return t->due(now); })) return;
    // Copy: a handler may create or destroy timers.
    const std::vector<Timer*> snapshot = timers;
    for (Timer* t : snapshot) {
        if (std::find(timers.begin(), timers.end(), t) == timers.end()) continue;
        if (!t->due(now)) continue;
        t->started_ = now;
        TimerEvent(*t);
    }
}

int Timer::MsUntilDue(std::uint32_t now, int atMost) {
    int wait = std::max(atMost, 0);
    for (const Timer* t : Timers())
        if (t->running()) wait = int(std::clamp<std::int64_t>(t->msLeft(now), 0, wait));
    return wait;
}

Timer* Timer::Find(const std::string& name) {
    for (Timer* t : Timers())
        if (t->name_ == name) return t;
    return nullptr;
}

// --- Form ----------------------------------------------------------------------------------

namespace {
MenuItem* FindIn(std::vector<MenuItem>& items, const std::string& name) {
    for (MenuItem& item : items) {
        if (item.name == name) return &item;
        if (MenuItem* found = FindIn(item.items, name)) return found;
    }
    return nullptr;
}
} // namespace

Form::Form(std::string name) : PictureBox(std::move(name), ControlKind::Form) {
    Forms().push_back(this);
    setVisible(false);
}

Form::~Form() {
    desktop::FormDestroyed(*this);
    std::erase(Forms(), this);
    if (MainForm() == this) SetMainForm(nullptr);
}

MenuItem* Form::findMenuItem(const std::string& name) {
    return FindIn(menu, name);
}

void Form::setClientSize(float width, float height) {
    scaleWidth = width;
    scaleHeight = height;
    const int w = TwipsToPixels(width, g_twipsX), h = TwipsToPixels(height, g_twipsY);
    Surface grown(w, h, backColor());
    BitBlt(grown, 0, 0, surface().width(), surface().height(), surface(), 0, 0, SRCCOPY);
    surface() = std::move(grown);
    damage_.addWhole();
}

void Form::damageClient(const ClipRect& r) {
    const int frame = FramePixels(*this), bar = MenuBarPixelHeight(*this);
    const int w = ClientPixelWidth(*this), h = ClientPixelHeight(*this);
    const ClipRect client = r.intersect({0, 0, w, h});
    if (client.empty()) return;
    damage_.add(client.moved(frame, frame + bar), w + 2 * frame, bar + h + 2 * frame);
}

void Form::visibilityChanged() {
    PictureBox::visibilityChanged();
    damage_.addWhole(); // shown again: drawn anew
}

const std::vector<Form*>& Form::All() {
    return Forms();
}

bool FormLoaded(std::uint32_t handle) {
    const auto& forms = Forms();
    const auto it = std::find_if(forms.begin(), forms.end(),
                                 [handle](const Form* f) { return f->handle() == handle; });
    return it != forms.end() && (*it)->loaded;
}

} // namespace platform
