// Forms on the desktop: one window per loaded form, its picture composed from the control tree,
// the mouse over its controls, the keys of the main window and its menu bar.
#include "platform/backend.h"
#include "platform/compose.h"
#include "platform/desktop.h"
#include "platform/input.h"
#include "platform/sdl/hit_test.h"
#include "platform/sdl/keymap.h"
#include "platform/sdl/menu_control.h"
#include "platform/sdl/native_window.h"
#include "platform/sdl/session.h"
#include "platform/sdl/window_scale.h"

#include <algorithm>
#include <vector>

namespace platform::sdl {

namespace {

class FormWindow;
// Never destroyed, like the list of input windows (see events_sdl.cpp).
std::vector<std::shared_ptr<FormWindow>>& g_formWindows =
    *new std::vector<std::shared_ptr<FormWindow>>;
// Windows whose forms were destroyed, closed at the next message step and never from the form's
// destructor: that may run at exit, and Xlib ends the process with exit() when the display goes
// away, when closing a window (or raising another) would wait for an answer that never comes.
std::vector<std::shared_ptr<FormWindow>>& g_orphanWindows =
    *new std::vector<std::shared_ptr<FormWindow>>;

class FormWindow : public InputWindow {
  public:
    explicit FormWindow(Form& form) : form_(form) {
        WindowLook look;
        look.border = form.hasBorder;
        look.taskbar = form.showInTaskbar;
        look.topmost = form.topmost;
        look.minimised = form.windowState == 1;
        // Every other window of the game (help, about) belongs to the main window.
        if (&form != MainForm()) look.owner = MainWindow();
        form.damage().addWhole();
        picture_.update(form);
        const FrameBuffer& frame = picture_.frame();
        native_ =
            std::make_unique<NativeWindow>(form.caption, frame.width, frame.height, Scale(), look);
        if (form.icon) native_->setIcon(*form.icon);
        appliedState_ = form.windowState;
        appliedTopmost_ = form.topmost;
        native_->show(frame);
    }

    Form& form() const { return form_; }
    bool isMain() const { return &form_ == MainForm(); }
    SDL_Window* sdl() const { return native_ ? native_->sdl() : nullptr; }
    void close() { native_.reset(); }

    Uint32 windowId() const override { return native_ ? native_->id() : 0; }

    // The game's own changes to the window: minimise, restore, always on top.
    void applyState() {
        if (!native_) return;
        if (form_.windowState != appliedState_) {
            appliedState_ = form_.windowState;
            if (appliedState_ == 1)
                SDL_MinimizeWindow(native_->sdl());
            else {
                SDL_RestoreWindow(native_->sdl());
                SDL_RaiseWindow(native_->sdl());
            }
        }
        if (form_.topmost != appliedTopmost_) {
            appliedTopmost_ = form_.topmost;
            SDL_SetWindowAlwaysOnTop(native_->sdl(), appliedTopmost_ ? SDL_TRUE : SDL_FALSE);
        }
    }

    bool refresh(int& wakeWithinMs) override {
        if (!native_ || appliedState_ == 1) return false; // a minimised window shows nothing
        if (form_.damage().any()) {
            // The screen has not shown the last picture yet: this one waits for its refresh.
            if (const int ms = native_->msUntilFrameDue(); ms > 0) {
                wakeWithinMs = std::min(wakeWithinMs, ms);
                return false;
            }
            const std::vector<ClipRect> composed = picture_.update(form_);
            native_->show(picture_.frame(), composed);
        } else if (exposed_) {
            native_->present();
        } else {
            return false;
        }
        exposed_ = false;
        return true;
    }

    void windowEvent(const SDL_WindowEvent& e) override {
        switch (e.event) {
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED: // in or out of full screen: drawn anew, whole
            exposed_ = true;
            break;
        case SDL_WINDOWEVENT_MINIMIZED: // the player's own minimise reaches the game too
            form_.windowState = appliedState_ = 1;
            break;
        case SDL_WINDOWEVENT_RESTORED:
            form_.windowState = appliedState_ = 0;
            form_.damage().addWhole(); // draw what changed while it was away
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            altAlone_ = false;
            break;
        default:
            break;
        }
    }

    void closeRequested() override {
        if (isMain()) CloseMenu();
        CloseEvent(form_);
    }

    void keyDown(const SDL_KeyboardEvent& key, int vk) override {
        if (!isMain()) { // another window's keys are its own: the game hears none of them
            FormKeyEvent(form_, vk);
            return;
        }
        if (FullScreenKey(key)) {
            altAlone_ = false;
            if (!key.repeat) native_->setFullScreen(!native_->fullScreen());
            return;
        }
        if (!form_.menu.empty() && menuKey(key, vk)) return;
        altAlone_ = false;
        if (vk == 0) return;
        HoldKey(vk);
        KeyDownEvent(&form_, vk);
    }

    void keyUp(int vk) override {
        // Alt pressed and released alone puts the keyboard on the menu bar.
        if (vk == VK_MENU && altAlone_ && isMain() && !form_.menu.empty() && !MenuActive()) {
            altAlone_ = false;
            Menu().focusBar(form_);
            RunMenu(form_);
        }
    }

    void mouseButton(const SDL_MouseButtonEvent& b) override {
        if (!native_ || b.button != SDL_BUTTON_LEFT) return;
        // A press on the dialog frame is no click on the window: the frame is not client area.
        const int frame = FramePixels(form_);
        const int x = native_->toPictureX(b.x) - frame, y = native_->toPictureY(b.y) - frame;
        const bool inside = onPicture(x, y);
        if (frame && !inside) {
            pressed_ = false;
            return;
        }
        const int bar = MenuBarPixelHeight(form_);
        if (MenuActive()) {
            if (b.type == SDL_MOUSEBUTTONDOWN)
                Menu().mouseDown(form_, x, y);
            else
                Menu().mouseUp(form_, x, y);
            return;
        }
        if (b.type == SDL_MOUSEBUTTONDOWN && y < bar) {
            Menu().mouseDown(form_, x, y);
            if (MenuActive()) RunMenu(form_);
            return;
        }
        Control* over = ControlAt(form_, x, y - bar); // none off the client area
        if (b.type == SDL_MOUSEBUTTONDOWN) {
            pressed_ = true;
            pressedOn_ = over;
            return;
        }
        // A click: pressed and released over the same control.
        const bool click = pressed_ && over == pressedOn_ && y >= bar && inside;
        pressed_ = false;
        if (click) ClickEvent(form_, over, x, y - bar);
    }

    void mouseMotion(const SDL_MouseMotionEvent& m) override {
        if (!native_) return;
        const int frame = FramePixels(form_);
        const int x = native_->toPictureX(m.x) - frame, y = native_->toPictureY(m.y) - frame;
        const bool inside = onPicture(x, y);
        if (frame && !inside) { // the frame hears no mouse moves either
            ShowPointer(nullptr, native_->scale());
            return;
        }
        const int bar = MenuBarPixelHeight(form_);
        if (MenuActive()) {
            Menu().mouseMove(form_, x, y);
            return;
        }
        const bool client = y >= bar && inside;
        Control* over = ControlAt(form_, x, y - bar);
        ShowPointer(over, native_->scale());
        if (client) MouseMoveEvent(form_, over, x, y - bar);
    }

    void mouseWheel(const SDL_MouseWheelEvent& w) override {
        // Positive: away from the user, whichever way the desktop turns the wheel.
        const int notches = w.direction == SDL_MOUSEWHEEL_FLIPPED ? -w.y : w.y;
        if (notches != 0) WheelEvent(form_, notches);
    }

  private:
    // Whether a point (menu bar included) is on the window's picture: not on the black around it
    // in full screen, nor on a dialog frame.
    bool onPicture(int x, int y) const {
        return x >= 0 && y >= 0 && x < ClientPixelWidth(form_) &&
               y < MenuBarPixelHeight(form_) + ClientPixelHeight(form_);
    }

    // F11, or Alt+Enter, in and out of full screen.
    static bool FullScreenKey(const SDL_KeyboardEvent& key) {
        const SDL_Keycode k = key.keysym.sym;
        const bool enter = k == SDLK_RETURN || k == SDLK_KP_ENTER;
        return k == SDLK_F11 || (enter && (key.keysym.mod & KMOD_ALT));
    }

    // Keys of the menu bar; true when the key was the menu's.
    bool menuKey(const SDL_KeyboardEvent& key, int vk) {
        if (MenuActive()) {
            Menu().keyDown(form_, vk);
            return true;
        }
        if (vk == VK_MENU) {
            if (!key.repeat) altAlone_ = true;
            return true;
        }
        if (vk == VK_F10) {
            Menu().focusBar(form_);
            RunMenu(form_);
            return true;
        }
        if (key.keysym.mod & KMOD_ALT) { // Alt with a key: a title's access key, or nothing
            altAlone_ = false;
            if (IsAccessKeyCode(vk) && Menu().openByAccessKey(form_, vk)) RunMenu(form_);
            return true;
        }
        return false;
    }

    Form& form_;
    std::unique_ptr<NativeWindow> native_;
    WindowPicture picture_;
    bool exposed_ = false;
    int appliedState_ = 0;
    bool appliedTopmost_ = false;
    bool altAlone_ = false;
    bool pressed_ = false;
    Control* pressedOn_ = nullptr;
};

std::shared_ptr<FormWindow> WindowOf(const Form& form) {
    for (const auto& w : g_formWindows)
        if (&w->form() == &form) return w;
    return nullptr;
}

// The form is gone: no event may reach its window any more, and nothing here talks to SDL.
void Orphan(const std::shared_ptr<FormWindow>& w) {
    Unregister(w.get());
    std::erase(g_formWindows, w);
    g_orphanWindows.push_back(w);
}

} // namespace

namespace {

// The scaling the player chose for the display, where the system reports it to a program that
// scales itself (Windows: 1.5 at 150 %); 1 elsewhere (an X server's DPI is no choice of scale).
double DisplayScale() {
    if (SDL_strcmp(SDL_GetCurrentVideoDriver(), "windows") != 0) return 1.0;
    float dpi = 0;
    if (SDL_GetDisplayDPI(0, &dpi, nullptr, nullptr) != 0 || dpi <= 0) return 1.0;
    return dpi / 96.0;
}

} // namespace

int Scale() {
    static int scale = 0;
    if (scale == 0) {
        SDL_Rect usable{0, 0, kReferenceWidth, kReferenceHeight};
        if (SDL_GetDisplayUsableBounds(0, &usable) != 0) SDL_GetDisplayBounds(0, &usable);
        scale = ChooseScale(usable.w, usable.h, DisplayScale());
    }
    return scale;
}

SDL_Window* MainWindow() {
    const Form* main = MainForm();
    if (!main) return nullptr;
    auto w = WindowOf(*main);
    return w ? w->sdl() : nullptr;
}

void SyncFormWindows() {
    // Forms destroyed or unloaded since the last step lose their windows; the others follow the
    // game's requests. Objects stay alive while a handler of theirs runs (the list holds a share).
    const auto orphans = std::move(g_orphanWindows);
    g_orphanWindows.clear();
    for (const auto& w : orphans) {
        if (w->windowId()) PopModal(w->windowId());
        w->close();
    }
    for (const auto& w : g_formWindows)
        w->applyState();
}

} // namespace platform::sdl

namespace platform::desktop {

void ShowForm(Form& form, bool modal) {
    form.loaded = true;
    form.shownModal = modal;
    form.show();
    auto window = sdl::WindowOf(form);
    if (!window) {
        window = std::make_shared<sdl::FormWindow>(form);
        sdl::g_formWindows.push_back(window);
        sdl::Register(window);
    }
    if (!modal) return;
    const Uint32 id = window->windowId();
    if (SDL_Window* w = window->sdl()) SDL_RaiseWindow(w);
    sdl::PushModal(id);
    const std::uint32_t handle = form.handle();
    while (FormLoaded(handle))
        ModalWait();
    sdl::PopModal(id);
}

void UnloadForm(Form& form) {
    form.loaded = false;
    form.shownModal = false;
    form.hide();
    // The window goes at once; the object behind it when its own handler has returned.
    if (auto window = sdl::WindowOf(form)) sdl::Orphan(window);
}

void FormDestroyed(Form& form) {
    if (auto window = sdl::WindowOf(form)) sdl::Orphan(window);
}

} // namespace platform::desktop
