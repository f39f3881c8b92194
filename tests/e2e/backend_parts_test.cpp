// The SDL backend's parts that need no display: key codes, the window factor, which control
// is under the mouse, the menu bar's keys and mouse, the message box, the instance lock and the
// desktop opener.
#include "platform/backend.h"
#include "platform/compose.h"
#include "platform/menubar.h"
#include "platform/sdl/hit_test.h"
#include "platform/linux/instance_lock.h"
#include "platform/sdl/keymap.h"
#include "platform/sdl/menu_control.h"
#include "platform/sdl/message_box.h"
#include "platform/linux/opener.h"
#include "platform/sdl/window_scale.h"
#include "platform/text.h"

#include <SDL.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace platform;
using namespace platform::sdl;
namespace fs = std::filesystem;

namespace {

// --- keys and the window factor ------------------------------------------------------------

TEST(KeyMap, DesktopKeysBecomeTheGamesVirtualKeys) {
    const struct {
        SDL_Keycode key;
        int vk;
    } cases[] = {
        {SDLK_RETURN, VK_RETURN},
        {SDLK_KP_ENTER, VK_RETURN},
        {SDLK_ESCAPE, VK_ESCAPE},
        {SDLK_SPACE, VK_SPACE},
        {SDLK_LEFT, VK_LEFT},
        {SDLK_RIGHT, VK_RIGHT},
        {SDLK_UP, VK_UP},
        {SDLK_DOWN, VK_DOWN},
        {SDLK_TAB, VK_TAB},
        {SDLK_LALT, VK_MENU},
        {SDLK_RALT, VK_MENU},
        {SDLK_F10, VK_F10},
        {SDLK_a, 'A'},
        {SDLK_z, 'Z'},
        {SDLK_0, '0'},
        {SDLK_9, '9'},
        {SDLK_CAPSLOCK, 0},
        {SDLK_UNKNOWN, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(VirtualKey(c.key), c.vk) << SDL_GetKeyName(c.key);
}

TEST(WindowScale, LargestWholeFactorThatFitsWithItsFrame) {
    const struct {
        int w, h, scale;
    } cases[] = {
        {1280, 1024, 2}, // the end-to-end tests' screen
        {1920, 1080, 2}, // the height decides: 1080 - 40 holds 417 twice
        {2560, 1440, 3}, {3840, 2160, 5},
        {1024, 768, 1},  {640, 480, 1}, // too small even once: still drawn, at 1
        {1258, 874, 2},                 // exactly twice with the frame allowance
        {1257, 874, 1},  {1258, 873, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChooseScale(c.w, c.h), c.scale) << c.w << " x " << c.h;
}

// Windows with display scaling: the screen in real pixels (the taskbar, 40 pixels at 100 %,
// taken off), the frame as much larger as the scaling. Whole factors only, at least the scaling
// rounded down, never more than fits.
TEST(WindowScale, DisplayScalingGivesAtLeastItsWholePartAndNeverMoreThanFits) {
    const struct {
        int w, h;
        double displayScale;
        int scale;
    } cases[] = {
        {1920, 1030, 1.25, 2}, // 1080p at 125 %: twice, where Windows would stretch by 1.25
        {1920, 1020, 1.5, 2},  {2560, 1380, 1.5, 3}, // 1440p at 150 %
        {1920, 1000, 2.0, 2},  // the frame's 80 pixels still leave room for twice
        {3840, 2080, 2.0, 4},  {3840, 2060, 2.5, 4}, {2560, 1500, 2.5, 3},
        {1366, 718, 1.25, 1},  // a small laptop at 125 %: once is all that fits
        {1274, 914, 2.0, 2},   // exactly twice with the doubled frame allowance (32 x 80)
        {1273, 914, 2.0, 1},   {1274, 913, 2.0, 1},
        {1280, 1024, 0.0, 2},  {1280, 1024, -3.0, 2}, {1280, 1024, 1e9, 2}, // no sensible scale
    };
    for (const auto& c : cases) {
        const int scale = ChooseScale(c.w, c.h, c.displayScale);
        EXPECT_EQ(scale, c.scale) << c.w << " x " << c.h << " at " << c.displayScale;
        // A screen that holds the window once at the player's scaling shows it at least that
        // large, rounded down.
        const double ds = c.displayScale;
        if (ds >= 1 && ds <= 8 && c.w / ds >= 621 + 16 && c.h / ds >= 417 + 40) {
            EXPECT_GE(scale, int(ds)) << c.w << " x " << c.h << " at " << ds;
        }
    }
}

// --- the control under the mouse ----------------------------------------------------------

class HitTest : public ::testing::Test {
  protected:
    static float T(int pixels) { return float(pixels * 15); }
    void SetUp() override {
        g_twipsX = g_twipsY = 15;
        form.setClientSize(T(200), T(100));
        image.move(T(0), T(0), T(80), T(80));
        form.add(image);
        shape.move(T(150), T(0), T(50), T(50));
        form.add(shape);
        line.x1 = T(0);
        line.x2 = T(200);
        line.setY(T(90), T(90));
        line.move(T(0), T(88), T(200), T(4));
        form.add(line);
        box.move(T(40), T(10), T(60), T(60)); // over the image's right part
        form.add(box);
        label.move(T(10), T(40), T(30), T(30)); // reaches beyond the box's bottom edge
        box.add(label);
        front.move(T(90), T(20), T(40), T(20)); // a later sibling over the box's right edge
        form.add(front);
        hidden.move(T(0), T(0), T(200), T(100));
        hidden.hide();
        form.add(hidden);
    }
    Form form{"fTest"};
    Image image{"image"};
    Shape shape{"shape"};
    Line line{"line"};
    PictureBox box{"box"};
    Label label{"label"};
    PictureBox front{"front"};
    PictureBox hidden{"hidden"};
};

TEST_F(HitTest, FrontmostVisibleControlInClientPixels) {
    const struct {
        int x, y;
        Control* want;
        const char* why;
    } cases[] = {
        {5, 5, &image, "a windowless image"},
        {45, 15, &box, "a child window over the image"},
        {55, 55, &label, "a label inside the box, in the box's own pixels"},
        {55, 75, &image, "the label's part outside the box is clipped away"},
        {95, 25, &front, "a later sibling in front"},
        {160, 10, nullptr, "a shape takes no clicks"},
        {120, 89, nullptr, "a line takes no clicks"},
        {190, 95, nullptr, "the bare background"},
        {-1, 5, nullptr, "left of the client area"},
        {200, 5, nullptr, "right of the client area"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ControlAt(form, c.x, c.y), c.want) << c.x << "," << c.y << ": " << c.why;
}

// --- the menu bar --------------------------------------------------------------------------

MenuItem Item(const char* name, const char* caption, bool enabled = true) {
    MenuItem m;
    m.name = name;
    m.caption = caption;
    m.enabled = enabled;
    return m;
}

class Menu : public ::testing::Test {
  protected:
    void SetUp() override {
        g_twipsX = g_twipsY = 15;
        form.setClientSize(9315, 5955);
        MenuItem game = Item("mGame", "ゲーム(&G)");
        game.items = {Item("mGameStart", "開始(&S)"), Item("mGameStop", "停止(&E)", false),
                      Item("mGameD1", "-"), Item("mGameEnd", "Vexaroの終了(&X)")};
        MenuItem set = Item("mSet", "設定（&E）");
        set.items = {Item("mSetZOrder", "常に手前に表示(&Z)"),
                     Item("mSetSound", "音を出さない(&N)")};
        MenuItem help = Item("mHelp", "ﾍﾙﾌﾟ(&H)");
        help.items = {Item("mHelpHelp", "目次(&C)"), Item("mHelpDum", "-"),
                      Item("mHelpAbout", "バージョン情報(&A)")};
        form.menu = {game, set, help};
        g_menuBar = {};
    }
    void TearDown() override { g_menuBar = {}; }

    std::string chosen() {
        MenuItem* item = menu.takeChosen(form);
        return item ? item->name : "";
    }
    void keys(std::initializer_list<int> vks) {
        for (int vk : vks)
            menu.keyDown(form, vk);
    }
    // The centre of a title, and of an item of the open menu, in window pixels.
    std::pair<int, int> title(int t) {
        const auto boxes = MenuTitleLayout(form);
        return {(boxes[t].x0 + boxes[t].x1) / 2, kMenuBarHeight / 2};
    }
    std::pair<int, int> item(int t, int i) {
        const MenuDropLayout drop = MenuDropDownLayout(form, t);
        return {(drop.x0 + drop.x1) / 2, (drop.items[i].y0 + drop.items[i].y1) / 2};
    }

    Form form{"fMain"};
    MenuControl menu;
};

TEST_F(Menu, KeyboardWalksTitlesAndItemsSkippingSeparatorsAndDisabledItems) {
    menu.focusBar(form); // Alt or F10
    EXPECT_TRUE(menu.active());
    EXPECT_EQ(g_menuBar.openTitle, -1);
    EXPECT_EQ(g_menuBar.hotItem, 0) << "the first title is highlighted";
    keys({VK_LEFT});
    EXPECT_EQ(g_menuBar.hotItem, 2) << "Left wraps to the last title";
    keys({VK_RIGHT});
    EXPECT_EQ(g_menuBar.hotItem, 0);
    keys({VK_DOWN});
    EXPECT_EQ(g_menuBar.openTitle, 0);
    EXPECT_EQ(g_menuBar.hotItem, 0) << "Down drops the menu at its first item";
    keys({VK_DOWN});
    EXPECT_EQ(g_menuBar.hotItem, 3) << "the disabled item and the separator are skipped";
    keys({VK_DOWN});
    EXPECT_EQ(g_menuBar.hotItem, 0) << "and it wraps";
    keys({VK_UP});
    EXPECT_EQ(g_menuBar.hotItem, 3);
    keys({VK_RIGHT});
    EXPECT_EQ(g_menuBar.openTitle, 1) << "Right with a menu down drops the next one";
    EXPECT_EQ(g_menuBar.hotItem, 0);
    keys({VK_DOWN, VK_RETURN});
    EXPECT_FALSE(menu.active());
    EXPECT_EQ(chosen(), "mSetSound");
    EXPECT_EQ(chosen(), "") << "taken once";
    EXPECT_EQ(g_menuBar.openTitle, -1);
    EXPECT_FALSE(g_menuBar.focused);
}

TEST_F(Menu, UpFromTheBarDropsTheMenuAtItsLastItem) {
    menu.focusBar(form);
    keys({VK_RIGHT, VK_RIGHT, VK_UP});
    EXPECT_EQ(g_menuBar.openTitle, 2);
    EXPECT_EQ(g_menuBar.hotItem, 2);
    keys({VK_RETURN});
    EXPECT_EQ(chosen(), "mHelpAbout");
}

TEST_F(Menu, EscapeBacksOutOneStepAtATime) {
    ASSERT_TRUE(menu.openByAccessKey(form, 'E')); // Alt+E: the Settings menu
    EXPECT_EQ(g_menuBar.openTitle, 1);
    keys({VK_ESCAPE});
    EXPECT_TRUE(menu.active());
    EXPECT_EQ(g_menuBar.openTitle, -1);
    EXPECT_EQ(g_menuBar.hotItem, 1) << "back on the bar, the title still highlighted";
    keys({VK_ESCAPE});
    EXPECT_FALSE(menu.active());
    EXPECT_EQ(chosen(), "");
}

TEST_F(Menu, AccessKeysOpenTitlesAndChooseItemsButNeverADisabledOne) {
    EXPECT_FALSE(menu.openByAccessKey(form, 'Q'));
    EXPECT_FALSE(menu.active());
    menu.focusBar(form);
    keys({'H'});
    EXPECT_EQ(g_menuBar.openTitle, 2) << "on the bar a letter opens its title";
    keys({VK_LEFT, VK_LEFT, 'E'}); // the Game menu's 停止(&E) is disabled
    EXPECT_TRUE(menu.active());
    EXPECT_EQ(g_menuBar.openTitle, 0);
    EXPECT_EQ(g_menuBar.hotItem, 1) << "it is highlighted, not chosen";
    keys({VK_RETURN});
    EXPECT_TRUE(menu.active()) << "Enter on a disabled item does nothing";
    keys({'x'}); // not a virtual key: letters come upper case
    EXPECT_TRUE(menu.active());
    keys({'X'});
    EXPECT_FALSE(menu.active());
    EXPECT_EQ(chosen(), "mGameEnd");
}

TEST_F(Menu, MouseOpensDragsAcrossTitlesAndChoosesOnRelease) {
    auto [tx, ty] = title(0);
    menu.mouseDown(form, tx, ty);
    EXPECT_EQ(g_menuBar.openTitle, 0);
    EXPECT_EQ(g_menuBar.hotItem, -1) << "a press drops the menu with nothing highlighted";
    auto [t2x, t2y] = title(2);
    menu.mouseMove(form, t2x, t2y);
    EXPECT_EQ(g_menuBar.openTitle, 2) << "the held button drags across the titles";
    menu.mouseUp(form, t2x, t2y);
    EXPECT_TRUE(menu.active()) << "a release on the title leaves the menu down";
    auto [sx, sy] = item(2, 1);
    menu.mouseMove(form, sx, sy);
    EXPECT_EQ(g_menuBar.hotItem, -1) << "a separator is never highlighted";
    auto [ix, iy] = item(2, 0);
    menu.mouseMove(form, ix, iy);
    EXPECT_EQ(g_menuBar.hotItem, 0);
    menu.mouseDown(form, ix, iy);
    menu.mouseUp(form, ix, iy);
    EXPECT_FALSE(menu.active());
    EXPECT_EQ(chosen(), "mHelpHelp");
}

TEST_F(Menu, MouseClicksThatChooseNothing) {
    auto [tx, ty] = title(0);
    menu.mouseDown(form, tx, ty);
    menu.mouseUp(form, tx, ty);
    auto [dx, dy] = item(0, 1); // 停止, disabled
    menu.mouseDown(form, dx, dy);
    menu.mouseUp(form, dx, dy);
    EXPECT_TRUE(menu.active()) << "a disabled item cannot be chosen";
    menu.mouseDown(form, tx, ty);
    EXPECT_FALSE(menu.active()) << "a press on the open title folds it up";
    menu.mouseUp(form, tx, ty);
    EXPECT_EQ(chosen(), "");

    menu.mouseDown(form, tx, ty);
    menu.mouseUp(form, tx, ty);
    menu.mouseDown(form, 500, 300); // in the client area, away from the menu
    EXPECT_FALSE(menu.active()) << "a press elsewhere closes the menu";
    menu.mouseUp(form, 500, 300);
    EXPECT_EQ(chosen(), "");
}

TEST_F(Menu, ADisabledTitleDropsNothingDown) {
    form.menu[1].enabled = false;
    menu.focusBar(form);
    keys({VK_RIGHT, VK_DOWN});
    EXPECT_EQ(g_menuBar.openTitle, -1);
    EXPECT_EQ(g_menuBar.hotItem, 1);
    keys({VK_RETURN});
    EXPECT_EQ(g_menuBar.openTitle, -1);
    EXPECT_TRUE(menu.active());
}

// --- the message box ----------------------------------------------------------------------

struct BoxCase {
    int buttons;
    std::vector<int> downs; // keys pressed (and released) in turn
    int result;
    const char* why;
};

TEST(MessageBox, KeysAnswerIt) {
    const BoxCase cases[] = {
        {vbOKOnly, {VK_RETURN}, vbOK, "Enter: OK"},
        {vbOKOnly, {VK_ESCAPE}, vbOK, "Escape: OK"},
        {vbOKOnly, {VK_SPACE}, vbOK, "Space on the focused button"},
        {vbYesNo, {VK_RETURN}, vbYes, "Enter: the default button, Yes"},
        {vbYesNo, {VK_ESCAPE}, vbNo, "Escape: No"},
        {vbYesNo, {'Y'}, vbYes, "the access key of Yes"},
        {vbYesNo, {'N'}, vbNo, "the access key of No"},
        {vbYesNo, {VK_TAB, VK_RETURN}, vbNo, "Tab moves to No, Enter presses it"},
        {vbYesNo, {VK_RIGHT, VK_LEFT, VK_SPACE}, vbYes, "arrows move the focus back and forth"},
        {vbYesNo, {VK_LEFT, VK_SPACE}, vbNo, "and wrap"},
        {vbYesNo, {'Q', VK_UP + 100}, 0, "other keys do nothing"},
    };
    for (const BoxCase& c : cases) {
        MessageBoxModel box("text", c.buttons, "");
        for (int vk : c.downs) {
            box.keyDown(vk);
            box.keyUp(vk);
        }
        EXPECT_EQ(box.result(), c.result) << c.why;
    }
}

TEST(MessageBox, MouseAnswersOnReleaseOverThePressedButton) {
    MessageBoxModel box("Vexaro!!を終了しますか？", vbYesNo, "Vexaro!!");
    ASSERT_EQ(box.buttons().size(), 2u);
    const BoxRect yes = box.buttons()[0].rect, no = box.buttons()[1].rect;
    box.mouseDown(yes.x0 + 3, yes.y0 + 3);
    box.mouseMove(no.x0 + 3, no.y0 + 3);
    box.mouseUp(no.x0 + 3, no.y0 + 3);
    EXPECT_EQ(box.result(), 0) << "pressed on Yes, released on No: nothing";
    box.mouseDown(no.x0 + 3, no.y0 + 3);
    box.mouseUp(no.x1 - 2, no.y1 - 2);
    EXPECT_EQ(box.result(), vbNo);
}

TEST(MessageBox, TheCloseBoxClosesOnlyABoxWithOKAlone) {
    MessageBoxModel question("?", vbYesNo, "");
    const int closeX = question.width() - 3 - 2 - 8, closeY = 3 + 2 + 7;
    EXPECT_FALSE(question.inCaptionBar(closeX, closeY));
    question.mouseDown(closeX, closeY);
    question.mouseUp(closeX, closeY);
    EXPECT_EQ(question.result(), 0);
    question.close(); // the window manager's close: the answer Escape gives
    EXPECT_EQ(question.result(), vbNo);

    MessageBoxModel note("!", vbOKOnly, "");
    const int noteCloseX = note.width() - 3 - 2 - 8;
    note.mouseDown(noteCloseX, closeY);
    EXPECT_EQ(note.result(), vbOK);
}

TEST(MessageBox, LayoutHoldsTitleTextAndButtons) {
    MessageBoxModel box("関連づけられた実行ファイルがありません", vbOKOnly, "");
    EXPECT_EQ(box.title(), "Vexaro!!") << "an empty title is the game's name";
    const TextSize text = MeasureText(MenuFont(), "関連づけられた実行ファイルがありません");
    ASSERT_GT(text.width, 100) << "the Japanese text was measured in a font that has it";
    EXPECT_GE(box.width(), text.width + 24);
    const BoxRect ok = box.buttons()[0].rect;
    EXPECT_LE(std::abs((ok.x0 + ok.x1) - box.width()), 1) << "the button is centred";
    EXPECT_LT(ok.y1, box.height());
    EXPECT_TRUE(box.inCaptionBar(10, 10));
    EXPECT_FALSE(box.inCaptionBar(10, 40));

    FrameBuffer frame;
    box.draw(frame);
    ASSERT_EQ(frame.width, box.width());
    ASSERT_EQ(frame.height, box.height());
    EXPECT_EQ(frame.at(3, 10), Rgb(10, 36, 106)) << "the caption bar starts dark blue";
    EXPECT_EQ(frame.at(6, box.height() - 6), Rgb(212, 208, 200)) << "the grey face";
    int dark = 0; // the text is drawn: dark pixels between the caption bar and the button
    for (int y = 25; y < ok.y0 - 4; ++y)
        for (int x = 10; x < box.width() - 10; ++x)
            dark += frame.at(x, y) == Rgb(0, 0, 0);
    EXPECT_GT(dark, 50);
}

TEST(MessageBox, LinesSplitAtEveryKindOfLineBreak) {
    MessageBoxModel one("a", vbOKOnly, ""), three("a\nb\r\nc", vbOKOnly, ""),
        mac("a\rb\rc", vbOKOnly, "");
    EXPECT_GT(three.height(), one.height());
    EXPECT_EQ(three.height(), mac.height());
}

// --- the instance lock ---------------------------------------------------------------------

class InstanceLock : public ::testing::Test {
  protected:
    void SetUp() override {
        char name[] = "/tmp/vexaro-lock-test-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        dir = name; // mkdtemp makes it 0700
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string dir;
};

TEST_F(InstanceLock, TheSecondTakerFindsItHeld) {
    EXPECT_EQ(TakeInstanceLock(dir, "a.lock"), LockResult::Taken);
    EXPECT_EQ(TakeInstanceLock(dir, "a.lock"), LockResult::HeldByAnother);
    EXPECT_EQ(TakeInstanceLock(dir, "b.lock"), LockResult::Taken) << "another name, another lock";
}

TEST_F(InstanceLock, ItGoesWithTheProcessThatHeldIt) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) _exit(TakeInstanceLock(dir, "c.lock") == LockResult::Taken ? 0 : 1);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(TakeInstanceLock(dir, "c.lock"), LockResult::Taken);
}

TEST_F(InstanceLock, NoLockInAFolderOthersCanWriteOrThroughALink) {
    const std::string open = dir + "/open";
    fs::create_directory(open);
    chmod(open.c_str(), 0777);
    EXPECT_FALSE(IsPrivateFolder(open));
    EXPECT_EQ(TakeInstanceLock(open), LockResult::Unavailable);

    const std::string link = dir + "/link";
    const std::string real = dir + "/real";
    fs::create_directory(real);
    chmod(real.c_str(), 0700);
    fs::create_directory_symlink(real, link);
    EXPECT_TRUE(IsPrivateFolder(real));
    EXPECT_FALSE(IsPrivateFolder(link)) << "a link is never taken for the folder";

    fs::create_symlink(dir + "/elsewhere", real + "/vexaro.lock");
    EXPECT_EQ(TakeInstanceLock(real), LockResult::Unavailable) << "a lock file that is a link";
    EXPECT_FALSE(fs::exists(dir + "/elsewhere")) << "nothing was created through it";
}

TEST_F(InstanceLock, TheFolderIsTheUsersRuntimeFolderWhenItIsPrivate) {
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    const std::string savedValue = saved ? saved : "";
    setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
    EXPECT_EQ(LockFolder(), dir);
    const std::string open = dir + "/open";
    fs::create_directory(open);
    chmod(open.c_str(), 0755);
    setenv("XDG_RUNTIME_DIR", open.c_str(), 1);
    const std::string fallback = LockFolder();
    EXPECT_EQ(fallback, "/tmp/vexaro-" + std::to_string(geteuid()));
    EXPECT_TRUE(IsPrivateFolder(fallback));
    if (saved)
        setenv("XDG_RUNTIME_DIR", savedValue.c_str(), 1);
    else
        unsetenv("XDG_RUNTIME_DIR");
}

// --- the desktop opener --------------------------------------------------------------------

TEST(Opener, TheOpenersExitStatusSaysWhetherTheDesktopCouldOpenIt) {
    EXPECT_EQ(RunOpener("true", "https://example.com/"), OpenerOutcome::Opened);
    EXPECT_EQ(RunOpener("false", "mail@example.com"), OpenerOutcome::Refused);
    EXPECT_EQ(RunOpener("/nonexistent/xdg-open", "x"), OpenerOutcome::Missing);
    EXPECT_EQ(ShellResult(OpenerOutcome::Opened), 42);
    EXPECT_EQ(ShellResult(OpenerOutcome::Refused), 2);
    EXPECT_EQ(ShellResult(OpenerOutcome::Missing), 2);
}

TEST(Opener, TheTextIsOneArgumentAndNoShellReadsIt) {
    const std::string marker = "/tmp/vexaro-opener-marker-" + std::to_string(getpid());
    fs::remove(marker);
    // "test -n TEXT" succeeds for any non-empty single argument; a shell would run the touch.
    EXPECT_EQ(RunOpener("test", "$(touch " + marker + "); `touch " + marker + "`"),
              OpenerOutcome::Opened);
    EXPECT_FALSE(fs::exists(marker));
}

TEST(Opener, AnOpenerThatKeepsRunningIsTakenToHaveOpenedIt) {
    static int turns = 0;
    const Uint32 start = SDL_GetTicks();
    const auto step = [] {
        ++turns;
        SDL_Delay(1);
    };
    EXPECT_EQ(RunOpener("sleep", "5", step, 200), OpenerOutcome::Opened);
    EXPECT_LT(SDL_GetTicks() - start, 3000u);
    EXPECT_GT(turns, 10) << "the game kept its message step going meanwhile";
    ReapOpeners(); // it still runs: nothing to collect yet, and no harm
}

} // namespace
