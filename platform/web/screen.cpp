#include "platform/web/screen.h"

#include "platform/backend.h"
#include "platform/controls.h"
#include "platform/sdl/session.h"
#include "platform/sdl/window_scale.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

extern "C" {
// platform/web/web_library.js: ends the game's wait at once, when it is in one.
void vexaro_web_wake();
}

namespace platform::web {

namespace {

// Windows that have drawn, in the order they opened: the later ones stand in front, as the
// game's dialogs stand in front of the window they belong to.
std::vector<Uint32> g_drawn;
bool g_changed = true;
std::vector<std::uint32_t> g_screen; // RGBA bytes as the canvas takes them
int g_screenWidth = 0, g_screenHeight = 0;
Uint32 g_captured = 0; // the window a held mouse button went down in

struct Placed {
    SDL_Window* window;
    SDL_Rect area; // on the canvas
};

bool MainMinimised() {
    const Form* main = MainForm();
    return main && main->windowState == 1 && sdl::MainWindow();
}

// Every window shown, back to front, where it lies on the canvas. The canvas is the main
// window (before it opens, a screen of its size): the other windows are placed over it as the
// game placed them, on SDL's screen in memory.
std::vector<Placed> ShownWindows() {
    SDL_Rect screen{0, 0, sdl::kReferenceWidth, sdl::kReferenceHeight};
    SDL_Rect display{0, 0, 0, 0};
    SDL_GetDisplayBounds(0, &display);
    screen.x = (display.w - screen.w) / 2;
    screen.y = (display.h - screen.h) / 2;
    if (SDL_Window* main = sdl::MainWindow()) {
        SDL_GetWindowPosition(main, &screen.x, &screen.y);
        SDL_GetWindowSize(main, &screen.w, &screen.h);
    }
    g_screenWidth = screen.w;
    g_screenHeight = screen.h;
    std::erase_if(g_drawn, [](Uint32 id) { return SDL_GetWindowFromID(id) == nullptr; });
    std::vector<Placed> shown;
    for (Uint32 id : g_drawn) {
        SDL_Window* window = SDL_GetWindowFromID(id);
        if (SDL_GetWindowFlags(window) & SDL_WINDOW_HIDDEN) continue;
        if (window == sdl::MainWindow() && MainMinimised()) continue;
        Placed placed{window, {}};
        SDL_GetWindowPosition(window, &placed.area.x, &placed.area.y);
        SDL_GetWindowSize(window, &placed.area.w, &placed.area.h);
        placed.area.x -= screen.x;
        placed.area.y -= screen.y;
        // A window larger than the canvas starts at its corner rather than off it.
        if (placed.area.x < 0 && placed.area.x + placed.area.w > screen.w) placed.area.x = 0;
        if (placed.area.y < 0 && placed.area.y + placed.area.h > screen.h) placed.area.y = 0;
        shown.push_back(placed);
    }
    return shown;
}

void Paint(const Placed& placed) {
    SDL_Surface* surface = SDL_GetWindowSurface(placed.window);
    if (!surface || surface->format->BytesPerPixel != 4) return;
    const int x0 = std::max(0, placed.area.x), y0 = std::max(0, placed.area.y);
    const int x1 =
        std::min({g_screenWidth, placed.area.x + placed.area.w, placed.area.x + surface->w});
    const int y1 =
        std::min({g_screenHeight, placed.area.y + placed.area.h, placed.area.y + surface->h});
    for (int y = y0; y < y1; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(
            static_cast<const Uint8*>(surface->pixels) + (y - placed.area.y) * surface->pitch);
        std::uint32_t* out = g_screen.data() + std::size_t(y) * g_screenWidth;
        for (int x = x0; x < x1; ++x) {
            const std::uint32_t p = row[x - placed.area.x]; // 0x00RRGGBB
            out[x] = 0xFF000000u | (p & 0x00FF00u) | ((p >> 16) & 0xFFu) | ((p & 0xFFu) << 16);
        }
    }
}

// The page draws the pixels on its canvas (platform/web/page/vexaro-page.js), only those of the
// rectangle x, y, w, h that changed.
EM_JS(void, PutOnCanvas,
      (const void* rgba, int width, int height, int x, int y, int w, int h, int minimised), {
          if (Module.vexaroShowScreen)
              Module.vexaroShowScreen(HEAPU8.subarray(rgba, rgba + width * height * 4), width,
                                      height, minimised, x, y, w, h);
      });

// The rectangle in which two pictures of the same size differ; empty when they are the same.
SDL_Rect ChangedArea(const std::vector<std::uint32_t>& before,
                     const std::vector<std::uint32_t>& after, int width, int height) {
    SDL_Rect area{width, height, 0, 0};
    int right = -1, bottom = -1;
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* a = before.data() + std::size_t(y) * width;
        const std::uint32_t* b = after.data() + std::size_t(y) * width;
        if (std::equal(a, a + width, b)) continue;
        int left = 0, last = width - 1;
        while (a[left] == b[left])
            ++left;
        while (a[last] == b[last])
            --last;
        area.x = std::min(area.x, left);
        right = std::max(right, last);
        area.y = std::min(area.y, y);
        bottom = y;
    }
    if (right < 0) return {0, 0, 0, 0};
    area.w = right - area.x + 1;
    area.h = bottom - area.y + 1;
    return area;
}

// The window in front (the one keys are for), or 0.
Uint32 FrontWindow() {
    const std::vector<Placed> shown = ShownWindows();
    return shown.empty() ? 0 : SDL_GetWindowID(shown.back().window);
}

// The window in front at a point of the canvas, and the point in its own pixels.
Uint32 WindowAt(int& x, int& y) {
    const std::vector<Placed> shown = ShownWindows();
    for (auto it = shown.rbegin(); it != shown.rend(); ++it) {
        if (g_captured && SDL_GetWindowID(it->window) != g_captured) continue;
        const SDL_Rect& a = it->area;
        if (g_captured || (x >= a.x && y >= a.y && x < a.x + a.w && y < a.y + a.h)) {
            x -= a.x;
            y -= a.y;
            return SDL_GetWindowID(it->window);
        }
    }
    return 0;
}

// A click brings its window to the front, where the keys go, as on the desktop.
void Raise(Uint32 id) {
    const auto at = std::find(g_drawn.begin(), g_drawn.end(), id);
    if (at == g_drawn.end() || std::next(at) == g_drawn.end()) return;
    g_drawn.erase(at);
    g_drawn.push_back(id);
    g_changed = true;
}

bool Push(SDL_Event& e) {
    if (!SDL_WasInit(SDL_INIT_EVENTS)) return false;
    if (SDL_PushEvent(&e) != 1) return false;
    vexaro_web_wake(); // a game asleep in a wait takes it now
    return true;
}

void PushWindowEvent(Uint32 id, Uint8 what) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = id;
    e.window.event = what;
    Push(e);
}

// A key or click while the main window is minimised brings it back (the desktop's task bar).
bool RestoredMain() {
    if (!MainMinimised()) return false;
    PushWindowEvent(SDL_GetWindowID(sdl::MainWindow()), SDL_WINDOWEVENT_RESTORED);
    return true;
}

struct NamedKey {
    const char* code;
    SDL_Keycode key;
};

// The keys the game and its menus know, by the page's names for them. F5, F11 (full screen,
// done by the page) and F12 stay the browser's.
constexpr NamedKey kNamedKeys[] = {
    {"Space", SDLK_SPACE},
    {"ArrowLeft", SDLK_LEFT},
    {"ArrowRight", SDLK_RIGHT},
    {"ArrowUp", SDLK_UP},
    {"ArrowDown", SDLK_DOWN},
    {"Enter", SDLK_RETURN},
    {"NumpadEnter", SDLK_RETURN},
    {"Escape", SDLK_ESCAPE},
    {"Tab", SDLK_TAB},
    {"Backspace", SDLK_BACKSPACE},
    {"AltLeft", SDLK_LALT},
    {"AltRight", SDLK_RALT},
    {"ShiftLeft", SDLK_LSHIFT},
    {"ShiftRight", SDLK_RSHIFT},
    {"ControlLeft", SDLK_LCTRL},
    {"ControlRight", SDLK_RCTRL},
    {"Home", SDLK_HOME},
    {"End", SDLK_END},
    {"PageUp", SDLK_PAGEUP},
    {"PageDown", SDLK_PAGEDOWN},
    {"Insert", SDLK_INSERT},
    {"Delete", SDLK_DELETE},
    {"F1", SDLK_F1},
    {"F2", SDLK_F2},
    {"F3", SDLK_F3},
    {"F4", SDLK_F4},
    {"F6", SDLK_F6},
    {"F7", SDLK_F7},
    {"F8", SDLK_F8},
    {"F9", SDLK_F9},
    {"F10", SDLK_F10},
};

SDL_Keycode KeyOf(const EmscriptenKeyboardEvent& e) {
    const std::string_view code = e.code;
    for (const NamedKey& named : kNamedKeys)
        if (code == named.code) return named.key;
    // Letters and digits as the keyboard's layout names them (access keys); a browser's own
    // shortcut (Ctrl or Cmd with a letter) stays the browser's.
    if (e.ctrlKey || e.metaKey) return 0;
    const std::string_view key = e.key;
    if (key.size() == 1) {
        const char c = key[0];
        if (c >= 'a' && c <= 'z') return SDL_Keycode(c);
        if (c >= 'A' && c <= 'Z') return SDL_Keycode(c - 'A' + 'a');
        if (c >= '0' && c <= '9') return SDL_Keycode(c);
    }
    if (code.size() == 4 && code.starts_with("Key")) return SDL_Keycode(code[3] - 'A' + 'a');
    if (code.size() == 6 && code.starts_with("Digit")) return SDL_Keycode(code[5]);
    return 0;
}

EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* e, void*) {
    const SDL_Keycode key = KeyOf(*e);
    if (key == 0) return EM_FALSE; // the browser's
    const bool down = type == EMSCRIPTEN_EVENT_KEYDOWN;
    if (down && RestoredMain()) return EM_TRUE;
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.windowID = FrontWindow();
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = e->repeat ? 1 : 0;
    event.key.keysym.sym = key;
    event.key.keysym.scancode = SDL_GetScancodeFromKey(key);
    event.key.keysym.mod = Uint16((e->altKey ? KMOD_LALT : 0) | (e->ctrlKey ? KMOD_LCTRL : 0) |
                                  (e->shiftKey ? KMOD_LSHIFT : 0));
    Push(event);
    return EM_TRUE; // no scrolling, no browser menu on Alt or F10
}

// A point of the page over the canvas, in the canvas's own pixels.
bool CanvasPoint(const EmscriptenMouseEvent& e, int& x, int& y) {
    double cssWidth = 0, cssHeight = 0;
    if (emscripten_get_element_css_size("#canvas", &cssWidth, &cssHeight) !=
            EMSCRIPTEN_RESULT_SUCCESS ||
        cssWidth <= 0 || cssHeight <= 0 || g_screenWidth <= 0)
        return false;
    x = int(double(e.targetX) * g_screenWidth / cssWidth);
    y = int(double(e.targetY) * g_screenHeight / cssHeight);
    return true;
}

Uint8 ButtonOf(unsigned short domButton) {
    return domButton == 1 ? SDL_BUTTON_MIDDLE : domButton == 2 ? SDL_BUTTON_RIGHT : SDL_BUTTON_LEFT;
}

EM_BOOL OnMouse(int type, const EmscriptenMouseEvent* e, void*) {
    int x = 0, y = 0;
    if (!CanvasPoint(*e, x, y)) return EM_FALSE;
    if (type == EMSCRIPTEN_EVENT_MOUSEDOWN && RestoredMain()) return EM_TRUE;
    const Uint32 id = WindowAt(x, y);
    SDL_Event event{};
    if (type == EMSCRIPTEN_EVENT_MOUSEMOVE) {
        if (!id) return EM_FALSE;
        event.type = SDL_MOUSEMOTION;
        event.motion.windowID = id;
        event.motion.x = x;
        event.motion.y = y;
        event.motion.state = Uint32(e->buttons);
        Push(event);
        return EM_FALSE;
    }
    const bool down = type == EMSCRIPTEN_EVENT_MOUSEDOWN;
    if (down) g_captured = id;
    if (down && id) Raise(id);
    if (!down && e->buttons == 0) g_captured = 0;
    if (!id) return EM_FALSE;
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.windowID = id;
    event.button.button = ButtonOf(e->button);
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.button.clicks = 1;
    event.button.x = x;
    event.button.y = y;
    Push(event);
    return EM_TRUE;
}

EM_BOOL OnBlur(int, const EmscriptenFocusEvent*, void*) {
    // Keys released in another tab would stay held in the game for ever.
    if (SDL_Window* main = sdl::MainWindow())
        PushWindowEvent(SDL_GetWindowID(main), SDL_WINDOWEVENT_FOCUS_LOST);
    g_captured = 0;
    return EM_FALSE;
}

} // namespace

void StartInput() {
    const char* page = EMSCRIPTEN_EVENT_TARGET_WINDOW;
    emscripten_set_keydown_callback(page, nullptr, EM_TRUE, OnKey);
    emscripten_set_keyup_callback(page, nullptr, EM_TRUE, OnKey);
    emscripten_set_mousedown_callback("#canvas", nullptr, EM_TRUE, OnMouse);
    emscripten_set_mouseup_callback(page, nullptr, EM_TRUE, OnMouse);
    emscripten_set_mousemove_callback("#canvas", nullptr, EM_TRUE, OnMouse);
    emscripten_set_blur_callback(page, nullptr, EM_TRUE, OnBlur);
}

void NoteUpdated(SDL_Window* window) {
    const Uint32 id = SDL_GetWindowID(window);
    if (std::find(g_drawn.begin(), g_drawn.end(), id) == g_drawn.end()) g_drawn.push_back(id);
    g_changed = true;
}

void ShowChanges() {
    // A window that went or moved changes the canvas as much as new pixels do.
    static std::vector<std::uint32_t> lastLayout;
    std::vector<std::uint32_t> layout;
    const std::vector<Placed> shown = ShownWindows();
    for (const Placed& placed : shown)
        layout.insert(layout.end(), {SDL_GetWindowID(placed.window), std::uint32_t(placed.area.x),
                                     std::uint32_t(placed.area.y), std::uint32_t(placed.area.w),
                                     std::uint32_t(placed.area.h)});
    layout.push_back(MainMinimised());
    if (!g_changed && layout == lastLayout) return;
    g_changed = false;
    lastLayout = layout;
    // Composed anew, and only what changed goes to the canvas: in flight that is often a
    // small part of it (the flame, the gauges), and the page's copy is the costly step.
    static std::vector<std::uint32_t> shownPicture;
    const bool resized = g_screen.size() != std::size_t(g_screenWidth) * g_screenHeight;
    shownPicture.swap(g_screen);
    g_screen.assign(std::size_t(g_screenWidth) * g_screenHeight, 0xFF000000u);
    for (const Placed& placed : shown)
        Paint(placed);
    const SDL_Rect area = resized
                              ? SDL_Rect{0, 0, g_screenWidth, g_screenHeight}
                              : ChangedArea(shownPicture, g_screen, g_screenWidth, g_screenHeight);
    if (area.w == 0 && !resized) return;
    PutOnCanvas(g_screen.data(), g_screenWidth, g_screenHeight, area.x, area.y, area.w, area.h,
                MainMinimised() ? 1 : 0);
}

} // namespace platform::web
