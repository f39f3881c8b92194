#include "platform/controls.h"

#include "platform/backend.h"
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

// --- Control -------------------------------------------------------------------------------

Control::~Control() {
    if (parent_) parent_->remove(*this);
}

void Control::move(float left, float top) {
    left_ = left;
    top_ = top;
    MarkChanged();
}

void Control::move(float left, float top, float width, float height) {
    left_ = left;
    top_ = top;
    setSize(width, height);
    MarkChanged();
}

void Control::setSize(float width, float height) {
    const bool changed = width != width_ || height != height_;
    width_ = width;
    height_ = height;
    if (changed) sizeChanged();
    MarkChanged();
}

void Control::setVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    visibilityChanged();
    MarkChanged();
}

// --- Container -----------------------------------------------------------------------------

Container::~Container() {
    for (Control* child : children_)
        child->parent_ = nullptr;
}

void Container::add(Control& child) {
    if (child.parent_) child.parent_->remove(child);
    child.parent_ = this;
    children_.push_back(&child);
    MarkChanged();
}

void Container::remove(Control& child) {
    auto it = std::find(children_.begin(), children_.end(), &child);
    if (it == children_.end()) return;
    children_.erase(it);
    child.parent_ = nullptr;
    MarkChanged();
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
    auto it = std::find(children_.begin(), children_.end(), &child);
    if (it == children_.end()) return;
    children_.erase(it);
    children_.push_back(&child);
    MarkChanged();
}

// --- PictureBox ----------------------------------------------------------------------------

namespace {
std::uint32_t g_nextHandle = 0x1000;
}

PictureBox::PictureBox(std::string name, ControlKind kind)
    : Container(kind, std::move(name)), handle_(g_nextHandle++) {}

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
    picture_ = std::move(picture);
    if (!stretch && picture_)
        setSize(float(picture_->width() * g_twipsX), float(picture_->height() * g_twipsY));
    MarkChanged();
}

void Label::setCaption(std::string caption) {
    caption_ = std::move(caption);
    if (autoSize) {
        const TextSize size = MeasureText(font, caption_);
        setSize(float(size.width * g_twipsX), float(size.height * g_twipsY));
    }
    MarkChanged();
}

void Line::setY(float y1Value, float y2Value) {
    y1 = y1Value;
    y2 = y2Value;
    MarkChanged();
}
void Line::setY1(float value) {
    setY(value, y2);
}
void Line::setY2(float value) {
    setY(y1, value);
}

// --- Timer ---------------------------------------------------------------------------------

namespace {
std::vector<Timer*>& Timers() {
    static std::vector<Timer*> timers;
    return timers;
}
} // namespace

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

void Timer::FireDue(std::uint32_t now) {
    // Copy: a handler may create or destroy timers.
    std::vector<Timer*> timers = Timers();
    for (Timer* t : timers) {
        if (std::find(Timers().begin(), Timers().end(), t) == Timers().end()) continue;
        if (!t->enabled_ || t->interval <= 0) continue;
        if (std::int32_t(now - t->started_) < t->interval) continue;
        t->started_ = now;
        TimerEvent(*t);
    }
}

Timer* Timer::Find(const std::string& name) {
    for (Timer* t : Timers())
        if (t->name_ == name) return t;
    return nullptr;
}

// --- Form ----------------------------------------------------------------------------------

namespace {
std::vector<Form*>& Forms() {
    static std::vector<Form*> forms;
    return forms;
}

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
    MarkChanged();
}

const std::vector<Form*>& Form::All() {
    return Forms();
}

} // namespace platform
