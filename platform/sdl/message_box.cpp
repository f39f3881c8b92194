#include "platform/sdl/message_box.h"

#include "platform/backend.h"
#include "platform/menubar.h"
#include "platform/sdl/keymap.h"
#include "platform/text.h"

#include <algorithm>
#include <cctype>

namespace platform::sdl {

namespace {

using namespace classic;
constexpr Pixel kLight = kHighlight;
constexpr Pixel kDark = kDarkShadow;
constexpr Pixel kBlack = kText;
constexpr Pixel kCaptionFrom = kSelection;
constexpr Pixel kCaptionTo = Rgb(166, 202, 240);

constexpr int kFrame = 3;          // the dialog frame
constexpr int kCaptionHeight = 18; // the caption bar
constexpr int kMargin = 12;
constexpr int kButtonWidth = 75, kButtonHeight = 23, kButtonGap = 6;

FontSpec TextFont() {
    return MenuFont();
}
FontSpec CaptionFont() {
    FontSpec font = MenuFont();
    font.bold = true;
    return font;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
            lines.emplace_back();
        } else if (text[i] == '\n') {
            lines.emplace_back();
        } else {
            lines.back() += text[i];
        }
    }
    return lines;
}

void Fill(FrameBuffer& out, BoxRect r, Pixel c) {
    r.x0 = std::max(r.x0, 0);
    r.y0 = std::max(r.y0, 0);
    r.x1 = std::min(r.x1, out.width);
    r.y1 = std::min(r.y1, out.height);
    for (int y = r.y0; y < r.y1; ++y)
        for (int x = r.x0; x < r.x1; ++x)
            out.at(x, y) = c;
}

// A bevel: light above and left, dark below and right, two pixels deep.
void Bevel(FrameBuffer& out, BoxRect r, Pixel outerLight, Pixel innerLight, Pixel innerDark,
           Pixel outerDark) {
    Fill(out, {r.x0, r.y0, r.x1, r.y0 + 1}, outerLight);
    Fill(out, {r.x0, r.y0, r.x0 + 1, r.y1}, outerLight);
    Fill(out, {r.x0, r.y1 - 1, r.x1, r.y1}, outerDark);
    Fill(out, {r.x1 - 1, r.y0, r.x1, r.y1}, outerDark);
    Fill(out, {r.x0 + 1, r.y0 + 1, r.x1 - 1, r.y0 + 2}, innerLight);
    Fill(out, {r.x0 + 1, r.y0 + 1, r.x0 + 2, r.y1 - 1}, innerLight);
    Fill(out, {r.x0 + 1, r.y1 - 2, r.x1 - 1, r.y1 - 1}, innerDark);
    Fill(out, {r.x1 - 2, r.y0 + 1, r.x1 - 1, r.y1 - 1}, innerDark);
}

void Blend(FrameBuffer& out, const Picture& p, int x, int y) {
    for (int py = 0; py < p.height(); ++py)
        for (int px = 0; px < p.width(); ++px) {
            const int ox = x + px, oy = y + py;
            if (ox < 0 || oy < 0 || ox >= out.width || oy >= out.height) continue;
            out.at(ox, oy) = BlendPixel(out.at(ox, oy), p.pixels.get(px, py), p.alphaAt(px, py));
        }
}

// A caption with its access key underlined, centred in the rectangle.
void DrawCentredCaption(FrameBuffer& out, const std::string& caption, BoxRect r, Pixel colour) {
    const MenuCaption parts = SplitCaption(caption);
    const FontSpec font = TextFont();
    const TextSize all = MeasureText(font, parts.before + parts.key + parts.after);
    int x = (r.x0 + r.x1 - all.width) / 2;
    const int y = (r.y0 + r.y1 - all.height) / 2;
    for (const std::string* part : {&parts.before, &parts.key, &parts.after}) {
        if (part->empty()) continue;
        Blend(out, *RenderText(font, *part, colour), x, y);
        const int w = MeasureText(font, *part).width;
        if (part == &parts.key)
            Fill(out, {x, y + all.height - 2, x + w, y + all.height - 1}, colour);
        x += w;
    }
}

// A dotted focus rectangle, one pixel on, one off.
void FocusRect(FrameBuffer& out, BoxRect r) {
    for (int x = r.x0; x < r.x1; x += 2) {
        Fill(out, {x, r.y0, x + 1, r.y0 + 1}, kBlack);
        Fill(out, {x, r.y1 - 1, x + 1, r.y1}, kBlack);
    }
    for (int y = r.y0; y < r.y1; y += 2) {
        Fill(out, {r.x0, y, r.x0 + 1, y + 1}, kBlack);
        Fill(out, {r.x1 - 1, y, r.x1, y + 1}, kBlack);
    }
}

int Channel(Pixel p, int shift) {
    return int((p >> shift) & 255);
}

} // namespace

MessageBoxModel::MessageBoxModel(const std::string& text, int buttons, const std::string& title)
    : title_(title.empty() ? "Vexaro!!" : title), lines_(SplitLines(text)) {
    if (buttons == vbYesNo)
        buttons_ = {{"はい(&Y)", vbYes, {}}, {"いいえ(&N)", vbNo, {}}};
    else
        buttons_ = {{"OK", vbOK, {}}};

    const FontSpec font = TextFont();
    lineHeight_ = std::max(1, MeasureText(font, "").height);
    int textWidth = 0;
    for (const auto& line : lines_)
        textWidth = std::max(textWidth, MeasureText(font, line).width);
    const int buttonsWidth =
        int(buttons_.size()) * kButtonWidth + (int(buttons_.size()) - 1) * kButtonGap;
    const int titleWidth = MeasureText(CaptionFont(), title_).width + 4 + 16 + 8;
    const int inner =
        std::max({textWidth + 2 * kMargin, buttonsWidth + 2 * kMargin, titleWidth, 120});
    width_ = inner + 2 * kFrame;

    textTop_ = kFrame + kCaptionHeight + 1 + kMargin + 4;
    const int buttonsTop = textTop_ + int(lines_.size()) * lineHeight_ + kMargin + 4;
    height_ = buttonsTop + kButtonHeight + kMargin + kFrame;
    int x = (width_ - buttonsWidth) / 2;
    for (auto& b : buttons_) {
        b.rect = {x, buttonsTop, x + kButtonWidth, buttonsTop + kButtonHeight};
        x += kButtonWidth + kButtonGap;
    }
    const int capTop = kFrame, capRight = width_ - kFrame;
    closeBox_ = {capRight - 2 - 16, capTop + 2, capRight - 2, capTop + 2 + 14};
}

int MessageBoxModel::cancelResult() const {
    return buttons_.back().result;
} // No, or OK

bool MessageBoxModel::inCaptionBar(int x, int y) const {
    return x >= kFrame && x < width_ - kFrame && y >= kFrame && y < kFrame + kCaptionHeight &&
           !closeBox_.contains(x, y);
}

int MessageBoxModel::buttonAt(int x, int y) const {
    for (int i = 0; i < int(buttons_.size()); ++i)
        if (buttons_[i].rect.contains(x, y)) return i;
    return -1;
}

void MessageBoxModel::keyDown(int vk) {
    const int n = int(buttons_.size());
    switch (vk) {
    case VK_RETURN: // the focused button: the default one (OK, or Yes) until the player moves
        result_ = buttons_[focus_].result;
        return;
    case VK_ESCAPE:
        result_ = cancelResult();
        return;
    case VK_TAB:
    case VK_RIGHT:
    case VK_DOWN:
        focus_ = (focus_ + 1) % n;
        return;
    case VK_LEFT:
    case VK_UP:
        focus_ = (focus_ + n - 1) % n;
        return;
    case VK_SPACE:
        spaceDown_ = true;
        return;
    default:
        break;
    }
    for (const auto& b : buttons_) {
        const MenuCaption parts = SplitCaption(b.caption);
        if (parts.key.size() == 1 && std::toupper(static_cast<unsigned char>(parts.key[0])) == vk)
            result_ = b.result;
    }
}

void MessageBoxModel::keyUp(int vk) {
    // Space works a button as a click does: on its release.
    if (vk == VK_SPACE && spaceDown_) result_ = buttons_[focus_].result;
    spaceDown_ = false;
}

void MessageBoxModel::mouseDown(int x, int y) {
    if (closeBox_.contains(x, y) && buttons_.size() == 1) {
        result_ = cancelResult(); // a box with OK alone may be closed; Yes/No must be answered
        return;
    }
    pressed_ = buttonAt(x, y);
    pressedInside_ = pressed_ >= 0;
    if (pressed_ >= 0) focus_ = pressed_;
}

void MessageBoxModel::mouseMove(int x, int y) {
    if (pressed_ >= 0) pressedInside_ = buttonAt(x, y) == pressed_;
}

void MessageBoxModel::mouseUp(int x, int y) {
    if (pressed_ >= 0 && buttonAt(x, y) == pressed_) result_ = buttons_[pressed_].result;
    pressed_ = -1;
    pressedInside_ = false;
}

void MessageBoxModel::draw(FrameBuffer& out) const {
    if (out.width != width_ || out.height != height_) {
        out.width = width_;
        out.height = height_;
        out.pixels.assign(std::size_t(width_) * height_, kFace);
    }
    Fill(out, {0, 0, width_, height_}, kFace);
    Bevel(out, {0, 0, width_, height_}, kFace, kLight, kShadow, kDark);

    // The caption bar: a gradient from dark to light blue, the title in bold white.
    const int capX0 = kFrame, capX1 = width_ - kFrame, capY0 = kFrame;
    const int span = std::max(1, capX1 - capX0 - 1);
    for (int x = capX0; x < capX1; ++x) {
        auto mix = [&](int shift) {
            const int a = Channel(kCaptionFrom, shift), b = Channel(kCaptionTo, shift);
            return a + (b - a) * (x - capX0) / span;
        };
        Fill(out, {x, capY0, x + 1, capY0 + kCaptionHeight}, Rgb(mix(16), mix(8), mix(0)));
    }
    const auto caption = RenderText(CaptionFont(), title_, kLight);
    Blend(out, *caption, capX0 + 3, capY0 + (kCaptionHeight - caption->height()) / 2);

    // The close box: greyed where the question must be answered with a button.
    Fill(out, closeBox_, kFace);
    Bevel(out, closeBox_, kLight, kFace, kShadow, kDark);
    const Pixel cross = buttons_.size() == 1 ? kBlack : kShadow;
    for (int i = 0; i < 7; ++i) {
        const int cx = closeBox_.x0 + 4 + i, cy = closeBox_.y0 + 3 + i, cy2 = closeBox_.y0 + 9 - i;
        Fill(out, {cx, cy, cx + 2, cy + 1}, cross);
        Fill(out, {cx, cy2, cx + 2, cy2 + 1}, cross);
    }

    const FontSpec font = TextFont();
    for (int i = 0; i < int(lines_.size()); ++i)
        if (!lines_[i].empty())
            Blend(out, *RenderText(font, lines_[i], kBlack), kFrame + kMargin,
                  textTop_ + i * lineHeight_);

    for (int i = 0; i < int(buttons_.size()); ++i) {
        const BoxButton& b = buttons_[i];
        BoxRect r = b.rect;
        const bool down = (pressed_ == i && pressedInside_) || (spaceDown_ && focus_ == i);
        Fill(out, r, kFace);
        if (i == focus_) { // the default frame: one black line around the button
            Fill(out, {r.x0, r.y0, r.x1, r.y0 + 1}, kBlack);
            Fill(out, {r.x0, r.y1 - 1, r.x1, r.y1}, kBlack);
            Fill(out, {r.x0, r.y0, r.x0 + 1, r.y1}, kBlack);
            Fill(out, {r.x1 - 1, r.y0, r.x1, r.y1}, kBlack);
            r = {r.x0 + 1, r.y0 + 1, r.x1 - 1, r.y1 - 1};
        }
        if (down) {
            Fill(out, {r.x0, r.y0, r.x1, r.y0 + 1}, kShadow);
            Fill(out, {r.x0, r.y0, r.x0 + 1, r.y1}, kShadow);
            Fill(out, {r.x0, r.y1 - 1, r.x1, r.y1}, kShadow);
            Fill(out, {r.x1 - 1, r.y0, r.x1, r.y1}, kShadow);
        } else {
            Bevel(out, r, kLight, kFace, kShadow, kDark);
        }
        const int shift = down ? 1 : 0;
        DrawCentredCaption(out, b.caption, {r.x0 + shift, r.y0 + shift, r.x1 + shift, r.y1 + shift},
                           kBlack);
        if (i == focus_) FocusRect(out, {r.x0 + 3, r.y0 + 3, r.x1 - 3, r.y1 - 3});
    }
}

} // namespace platform::sdl
