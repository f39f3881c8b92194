// Gamepads in the SDL backend, played with SDL's virtual joystick on a real display (the
// gamepad_test.sh script gives it one): a pad plugged in is picked up, its buttons and stick
// become the game's keys beside the keyboard, and a pad pulled out lets go of what it held.
#include "platform/backend.h"
#include "platform/sdl/backend_sdl.h"
#include "platform/sdl/gamepad.h"
#include "platform/sdl/session.h"

#include <SDL.h>

#include <gtest/gtest.h>

#include <vector>

using namespace platform;
using namespace platform::sdl;

namespace {

Form* g_main = nullptr;
std::vector<int> g_keyDowns; // what the main window's key handler heard

// Runs the message step until `done` holds, for at most `seconds`.
template <typename Done>
bool StepUntil(Done done, int seconds = 10) {
    const Uint32 until = SDL_GetTicks() + Uint32(seconds) * 1000;
    while (!done()) {
        if (SDL_TICKS_PASSED(SDL_GetTicks(), until)) return false;
        DoEvents();
    }
    return true;
}

// A few turns of the message step, for checks that something did not happen.
void Settle() {
    const Uint32 until = SDL_GetTicks() + 150;
    while (!SDL_TICKS_PASSED(SDL_GetTicks(), until))
        DoEvents();
}

bool Held(int vk) {
    return (GetAsyncKeyState(vk) & 0x8000) != 0;
}

// A pad of SDL's own making, with every button and axis of a game controller.
class VirtualPad {
  public:
    VirtualPad() {
        SDL_VirtualJoystickDesc desc;
        SDL_zero(desc);
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = "Vexaro test pad";
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        if (index >= 0) joystick_ = SDL_JoystickOpen(index);
    }
    ~VirtualPad() { pullOut(); }
    VirtualPad(const VirtualPad&) = delete;
    VirtualPad& operator=(const VirtualPad&) = delete;

    bool ok() const { return joystick_ != nullptr; }
    void button(SDL_GameControllerButton b, bool down) {
        SDL_JoystickSetVirtualButton(joystick_, b, down ? SDL_PRESSED : SDL_RELEASED);
    }
    void stick(int x) {
        SDL_JoystickSetVirtualAxis(joystick_, SDL_CONTROLLER_AXIS_LEFTX, Sint16(x));
    }
    void pullOut() {
        if (!joystick_) return;
        const SDL_JoystickID id = SDL_JoystickInstanceID(joystick_);
        SDL_JoystickClose(joystick_);
        joystick_ = nullptr;
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
    }

  private:
    SDL_Joystick* joystick_ = nullptr;
};

class Gamepad : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        Start();
        g_main = new Form("fMain"); // lives as long as the process, like the game's
        g_main->caption = "Vexaro!! gamepad test";
        g_main->setClientSize(621 * 15, 397 * 15);
        g_main->onKeyDown = [](int vk) { g_keyDowns.push_back(vk); };
        SetMainForm(g_main);
        ShowForm(*g_main, false);
        // SDL passes a pad's presses on only while a window of ours has the keyboard.
        focused_ =
            StepUntil([] { return MainWindow() && SDL_GetKeyboardFocus() == MainWindow(); }, 30);
    }

    void SetUp() override {
        ASSERT_TRUE(focused_) << "the test window never got the keyboard";
        g_keyDowns.clear();
        ResetKeys();
    }

    // The pads of a test are pulled out when it ends; the next test starts without any.
    void TearDown() override {
        EXPECT_TRUE(StepUntil([] { return GamepadCount() == 0; })) << "a pad stayed open";
    }

    // Waits until the game has taken a pad just plugged in: a button pressed before that is
    // not seen, as on the desktop.
    static void PickedUp(const VirtualPad& pad, int pads = 1) {
        ASSERT_TRUE(pad.ok()) << SDL_GetError();
        ASSERT_TRUE(StepUntil([pads] { return GamepadCount() == pads; }))
            << "the pad was not picked up";
    }

    static inline bool focused_ = false;
};

TEST_F(Gamepad, SouthButtonIsSpaceAndStartIsEnter) {
    VirtualPad pad;
    PickedUp(pad);
    pad.button(SDL_CONTROLLER_BUTTON_A, true);
    ASSERT_TRUE(StepUntil([] { return Held(VK_SPACE); })) << "A did not hold Space";
    EXPECT_EQ(g_keyDowns, std::vector<int>{VK_SPACE}); // the window's key handler heard it
    pad.button(SDL_CONTROLLER_BUTTON_A, false);
    ASSERT_TRUE(StepUntil([] { return !Held(VK_SPACE); })) << "A released did not let go";

    pad.button(SDL_CONTROLLER_BUTTON_START, true);
    ASSERT_TRUE(StepUntil([] { return Held(VK_RETURN); })) << "Start did not hold Enter";
    pad.button(SDL_CONTROLLER_BUTTON_START, false);
    ASSERT_TRUE(StepUntil([] { return !Held(VK_RETURN); }));
    EXPECT_EQ(g_keyDowns, (std::vector<int>{VK_SPACE, VK_RETURN}));

    // Buttons the game has no use for are no keys.
    pad.button(SDL_CONTROLLER_BUTTON_B, true);
    pad.button(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
    Settle();
    EXPECT_EQ(g_keyDowns.size(), 2u);
}

TEST_F(Gamepad, DpadAndLeftStickAreLeftAndRight) {
    VirtualPad pad;
    PickedUp(pad);
    pad.button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    ASSERT_TRUE(StepUntil([] { return Held(VK_LEFT); }));
    pad.button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
    ASSERT_TRUE(StepUntil([] { return !Held(VK_LEFT); }));
    pad.button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    ASSERT_TRUE(StepUntil([] { return Held(VK_RIGHT); }));
    pad.button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, false);
    ASSERT_TRUE(StepUntil([] { return !Held(VK_RIGHT); }));

    pad.stick(6000); // inside the dead zone
    Settle();
    EXPECT_FALSE(Held(VK_RIGHT));
    pad.stick(-30000);
    ASSERT_TRUE(StepUntil([] { return Held(VK_LEFT); })) << "the stick pushed left";
    pad.stick(-12000); // eased back, still beyond the dead zone
    Settle();
    EXPECT_TRUE(Held(VK_LEFT));
    pad.stick(-4000);
    ASSERT_TRUE(StepUntil([] { return !Held(VK_LEFT); })) << "the stick came back";
    pad.stick(32767);
    ASSERT_TRUE(StepUntil([] { return Held(VK_RIGHT); })) << "the stick pushed right";
    pad.stick(0);
    ASSERT_TRUE(StepUntil([] { return !Held(VK_RIGHT); }));
    EXPECT_EQ(g_keyDowns, (std::vector<int>{VK_LEFT, VK_RIGHT, VK_LEFT, VK_RIGHT}));
}

TEST_F(Gamepad, KeyboardAndPadHoldAKeyTogether) {
    VirtualPad pad;
    PickedUp(pad);
    auto key = [](Uint32 type) {
        SDL_Event e;
        SDL_zero(e);
        e.type = type;
        e.key.windowID = SDL_GetWindowID(MainWindow());
        e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        e.key.keysym.sym = SDLK_SPACE;
        e.key.keysym.scancode = SDL_SCANCODE_SPACE;
        SDL_PushEvent(&e);
    };
    key(SDL_KEYDOWN);
    ASSERT_TRUE(StepUntil([] { return Held(VK_SPACE); }));
    pad.button(SDL_CONTROLLER_BUTTON_A, true);
    ASSERT_TRUE(StepUntil([] { return g_keyDowns.size() == 2; })) << "the pad's press was lost";
    key(SDL_KEYUP);
    Settle();
    EXPECT_TRUE(Held(VK_SPACE)) << "the pad still holds Space";
    pad.button(SDL_CONTROLLER_BUTTON_A, false);
    ASSERT_TRUE(StepUntil([] { return !Held(VK_SPACE); }));
}

TEST_F(Gamepad, APadPulledOutLetsGoOfWhatItHeld) {
    VirtualPad pad;
    PickedUp(pad);
    pad.button(SDL_CONTROLLER_BUTTON_A, true);
    pad.stick(30000);
    ASSERT_TRUE(StepUntil([] { return Held(VK_SPACE) && Held(VK_RIGHT); }));
    pad.pullOut(); // while both are held: the ship must not keep thrusting
    ASSERT_TRUE(StepUntil([] { return GamepadCount() == 0; })) << "the pad was not let go";
    EXPECT_FALSE(Held(VK_SPACE));
    EXPECT_FALSE(Held(VK_RIGHT));
}

TEST_F(Gamepad, TwoPadsHoldAKeyTogetherAndArePluggedInAndOutWhileTheGameRuns) {
    VirtualPad first;
    PickedUp(first);
    VirtualPad second;
    PickedUp(second, 2);
    first.button(SDL_CONTROLLER_BUTTON_A, true);
    ASSERT_TRUE(StepUntil([] { return Held(VK_SPACE); }));
    second.button(SDL_CONTROLLER_BUTTON_A, true);
    Settle();
    first.button(SDL_CONTROLLER_BUTTON_A, false);
    Settle();
    EXPECT_TRUE(Held(VK_SPACE)) << "the second pad holds Space";
    second.pullOut();
    ASSERT_TRUE(StepUntil([] { return !Held(VK_SPACE); }));
    EXPECT_EQ(GamepadCount(), 1) << "the first pad is still there";
    first.button(SDL_CONTROLLER_BUTTON_START, true);
    ASSERT_TRUE(StepUntil([] { return Held(VK_RETURN); }));
}

TEST_F(Gamepad, NothingReachesTheGameWhileAModalWindowStandsInFront) {
    VirtualPad pad;
    PickedUp(pad);
    PushModal(0); // what the game does while the desktop opens a link
    pad.button(SDL_CONTROLLER_BUTTON_A, true);
    Settle();
    EXPECT_FALSE(Held(VK_SPACE));
    EXPECT_TRUE(g_keyDowns.empty());
    PopModal(0);
    pad.button(SDL_CONTROLLER_BUTTON_A, false);
    Settle();
    pad.button(SDL_CONTROLLER_BUTTON_A, true); // pressed again: now it counts
    ASSERT_TRUE(StepUntil([] { return Held(VK_SPACE); }));
}

TEST(GamepadParts, StickDeadZoneWithoutFlicker) {
    const struct {
        int previous, x, direction;
    } cases[] = {
        {0, 0, 0},      {0, 9000, 0},    {0, 15999, 0}, {0, 16000, 1},    {0, -16000, -1},
        {1, 12000, 1},  {1, 10001, 1},   {1, 10000, 0}, {-1, -12000, -1}, {-1, 12000, 0},
        {-1, 20000, 1}, {1, -32768, -1}, {0, 32767, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StickDirection(c.previous, c.x), c.direction) << c.previous << " at " << c.x;
}

TEST(GamepadParts, HeldKeysOfAPad) {
    PadInput input;
    EXPECT_EQ(HeldKeyBits(input), 0u);
    input.stick = -1;
    input.dpadRight = true;
    input.south = true;
    EXPECT_EQ(HeldKeyBits(input), 0b0111u); // Left, Right and Space
    input = {};
    input.start = true;
    EXPECT_EQ(HeldKeyBits(input), 0b1000u);
}

} // namespace

// Ends the way the game ends: SDL and the display closed, the process gone at once.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    EndProcess(status);
}
