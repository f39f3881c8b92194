// MsgBox: the message box in a small window of its own, centred over the main window, modal:
// timers keep firing and the main window keeps painting, but only the box takes input.
#include "platform/backend.h"
#include "platform/desktop.h"
#include "platform/sdl/message_box.h"
#include "platform/sdl/native_window.h"
#include "platform/sdl/session.h"

#include <cstdio>

namespace platform::sdl {

namespace {

class MessageBoxWindow : public InputWindow {
  public:
    MessageBoxWindow(const std::string& text, int buttons, const std::string& title)
        : model_(text, buttons, title) {
        WindowLook look;
        look.border = false; // the box draws its own caption bar, in the game's lettering
        look.taskbar = false;
        model_.draw(frame_);
        native_ = std::make_unique<NativeWindow>(model_.title(), frame_.width, frame_.height,
                                                 Scale(), look, MainWindow());
        if (!native_->ok()) return;
        SDL_SetWindowHitTest(native_->sdl(), &MessageBoxWindow::HitTest, this);
        if (SDL_Window* main = MainWindow()) SDL_SetWindowModalFor(native_->sdl(), main);
        native_->show(frame_);
        SDL_RaiseWindow(native_->sdl());
    }

    bool ok() const { return native_->ok(); }
    int result() const { return model_.result(); }
    Uint32 windowId() const override { return native_->id(); }

    void keyDown(const SDL_KeyboardEvent&, int vk) override {
        changed();
        model_.keyDown(vk);
    }
    void keyUp(int vk) override {
        changed();
        model_.keyUp(vk);
    }
    void mouseButton(const SDL_MouseButtonEvent& b) override {
        if (b.button != SDL_BUTTON_LEFT) return;
        changed();
        const int x = native_->toPictureX(b.x), y = native_->toPictureY(b.y);
        if (b.type == SDL_MOUSEBUTTONDOWN)
            model_.mouseDown(x, y);
        else
            model_.mouseUp(x, y);
    }
    void mouseMotion(const SDL_MouseMotionEvent& m) override {
        changed();
        model_.mouseMove(native_->toPictureX(m.x), native_->toPictureY(m.y));
        ShowPointer(nullptr, native_->scale());
    }
    void closeRequested() override { model_.close(); }
    void windowEvent(const SDL_WindowEvent& e) override {
        if (e.event == SDL_WINDOWEVENT_EXPOSED) exposed_ = true;
    }
    bool refresh(int& /*wakeWithinMs*/) override {
        const bool shown = dirty_ || exposed_;
        if (dirty_) {
            model_.draw(frame_);
            native_->show(frame_);
        } else if (exposed_) {
            native_->present();
        }
        dirty_ = exposed_ = false;
        return shown;
    }

  private:
    void changed() { dirty_ = true; }

    // The caption bar moves the window, as a window manager's would.
    static SDL_HitTestResult HitTest(SDL_Window*, const SDL_Point* at, void* data) {
        const auto* self = static_cast<const MessageBoxWindow*>(data);
        const NativeWindow& window = *self->native_;
        return self->model_.inCaptionBar(window.toPictureX(at->x), window.toPictureY(at->y))
                   ? SDL_HITTEST_DRAGGABLE
                   : SDL_HITTEST_NORMAL;
    }

    MessageBoxModel model_;
    FrameBuffer frame_;
    std::unique_ptr<NativeWindow> native_;
    bool dirty_ = false, exposed_ = false;
};

} // namespace

} // namespace platform::sdl

namespace platform::desktop {

int MsgBox(const std::string& text, int buttons, const std::string& title) {
    auto box = std::make_shared<sdl::MessageBoxWindow>(text, buttons, title);
    if (!box->ok()) { // no window can be shown: the answer that changes nothing
        std::fprintf(stderr, "Vexaro!!: %s\n", text.c_str());
        return buttons == vbYesNo ? vbNo : vbOK;
    }
    sdl::ReleaseHeldKeys();
    sdl::CloseMenu();
    sdl::Register(box);
    const Uint32 id = box->windowId();
    sdl::PushModal(id);
    while (box->result() == 0)
        sdl::Step(sdl::kIdleWaitMs);
    sdl::PopModal(id);
    sdl::Unregister(box.get());
    return box->result();
}

} // namespace platform::desktop
