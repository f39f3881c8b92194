#include "platform/headless/headless.h"

#include "platform/assets.h"
#include "platform/desktop.h"
#include "platform/input.h"
#include "platform/replay.h"
#include "platform/sound.h"
#include "platform/trace.h"

#include <algorithm>
#include <climits>
#include <map>
#include <sstream>
#include <unistd.h>

namespace platform::headless {

namespace {

// Thrown through the game's code to end a run; never caught by the game.
struct StopRun {};
struct ProcessEnded {
    int status;
};
struct PlaybackEnded {
    int status;
    std::string message;
};

struct State {
    const Options* options = nullptr;
    std::uint32_t tick = 0;
    std::size_t nextAction = 0;
    std::size_t nextShot = 0;
    std::deque<std::string> answers;
    std::deque<int> injectedUps; // keys released one step after an injected press
    std::deque<int> injectedDowns;
    std::vector<Form*> modal;       // forms shown modally, the front one last
    std::vector<std::string> notes; // what went wrong outside the game
    // The checking mode's windows: each shown form's picture, composed as a desktop window's
    // would be, at most once a display refresh.
    std::map<const Form*, WindowPicture> pictures;
    std::uint32_t lastPicture = 0;
};
// Never destroyed (it stays reachable, no leak): forms that outlive it at exit still tell it
// they go.
State& g = *new State;

// Ticks since the run began: by the virtual clock, or by the recording's clock while one plays.
std::int64_t Elapsed() {
    if (IsPlaying()) return RecordingClockElapsed();
    return std::int64_t(std::uint32_t(g.tick - g.options->startTick));
}
std::int64_t TraceClock() {
    return Elapsed();
}

void TraceToOptions(const std::string& line) {
    if (g.options && g.options->traceLine) g.options->traceLine(line);
}

// The window in front that takes all input while it is up: the last form shown modally that
// still exists and is loaded.
Form* FrontModalForm() {
    const auto& forms = Form::All();
    for (auto it = g.modal.rbegin(); it != g.modal.rend(); ++it)
        if (std::find(forms.begin(), forms.end(), *it) != forms.end() && (*it)->loaded) return *it;
    return nullptr;
}

void ClickMenu(const std::string& name) {
    Form* main = MainForm();
    if (!main) return;
    for (MenuItem& title : main->menu) {
        if (!title.enabled) continue;
        for (MenuItem& item : title.items) {
            if (item.name != name) continue;
            if (item.enabled) MenuEvent(item);
            return;
        }
    }
}

// A click on a control (or a form, by its name) of the front window that holds it; while a
// modal window is up, only that window takes clicks.
void ClickControl(const std::string& name) {
    Form* modal = FrontModalForm();
    const auto& forms = Form::All();
    for (auto it = forms.rbegin(); it != forms.rend(); ++it) {
        Form* form = *it;
        if (!form->loaded || (modal && form != modal)) continue;
        Control* c = form->name() == name ? nullptr : FindControl(*form, name);
        if (!c && form->name() != name) continue;
        ClickEvent(*form, c, 0, 0);
        return;
    }
}

// Keys and menu commands go where the desktop sends them: to the front modal window while one
// is up (its own keys, which the game's key record never hears), else to the main window.
void Dispatch(const Action& a) {
    Form* modal = FrontModalForm();
    switch (a.kind) {
    case Action::Kind::Down:
        if (modal)
            FormKeyEvent(*modal, a.key);
        else
            KeyDownEvent(MainForm(), a.key);
        break;
    case Action::Kind::Up: // releases always reach the key record
        KeyUpEvent(a.key);
        break;
    case Action::Kind::Menu:
        if (!modal) ClickMenu(a.name);
        break;
    case Action::Kind::Close:
        if (!modal && MainForm()) CloseEvent(*MainForm());
        break;
    case Action::Kind::Click:
        ClickControl(a.name);
        break;
    }
}

void TakeShots(std::int64_t now) {
    const auto& shots = g.options->shots;
    while (g.nextShot < shots.size() && shots[g.nextShot].t <= now) {
        const Shot& shot = shots[g.nextShot++];
        WritePng(ComposeMainWindow().toSurface(), shot.path);
    }
}

// In the checking mode, every shown window's picture is brought up to date by composing what
// changed, as the desktop's windows are, and checked against the whole picture (which ends the
// program where they differ).
void UpdatePictures() {
    constexpr std::uint32_t kRefreshMs = 16;
    if (!CheckingPictures() || g.tick - g.lastPicture < kRefreshMs) return;
    g.lastPicture = g.tick;
    for (Form* form : Form::All())
        if (form->loaded && form->visible()) g.pictures[form].update(*form);
}

// Ends the run when one of its stops is due: its tick count, --until idle, and for a scripted
// run its longest (a recording plays to its end, whatever its length).
void StopIfDue(bool scripted) {
    const std::int64_t now = Elapsed();
    if (g.options->stopAfterTicks >= 0 && now >= g.options->stopAfterTicks) throw StopRun{};
    if (scripted && now >= g.options->maxTicks) throw StopRun{};
    if (g.options->idle && g.options->idle()) throw StopRun{};
}

// The game from its start, until it ends its process, a stop is due or the recording it plays
// is over.
void RunGame(const std::function<void()>& entry, Result& result) {
    try {
        entry();
        RunMessageLoop();
    } catch (const StopRun&) {
    } catch (const ProcessEnded& end) {
        result.status = end.status;
        result.ended = true;
    } catch (const PlaybackEnded& over) {
        result.status = over.status;
        result.message = over.message;
    }
}

int KeyByName(const std::string& name) {
    if (name == "space") return VK_SPACE;
    if (name == "left") return VK_LEFT;
    if (name == "right") return VK_RIGHT;
    if (name == "enter") return VK_RETURN;
    if (name == "escape") return VK_ESCAPE;
    return 0;
}

} // namespace

// --- the script ----------------------------------------------------------------------------

bool ParseScript(std::istream& in, std::vector<Action>& actions, std::deque<std::string>& answers,
                 std::string& error) {
    std::string line;
    int number = 0;
    std::int64_t last = 0;
    auto fail = [&](const std::string& why) {
        error = "script line " + std::to_string(number) + ": " + why;
        return false;
    };
    while (std::getline(in, line)) {
        ++number;
        if (auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        std::istringstream words(line);
        std::string first, verb, arg, extra;
        if (!(words >> first)) continue;
        if (first == "answer") {
            if (!(words >> arg) || (arg != "yes" && arg != "no" && arg != "ok") || (words >> extra))
                return fail("answer needs yes, no or ok");
            answers.push_back(arg);
            continue;
        }
        std::int64_t t = 0;
        try {
            std::size_t used = 0;
            t = std::stoll(first, &used);
            if (used != first.size() || t < 0) return fail("bad tick \"" + first + "\"");
        } catch (...) {
            return fail("bad tick \"" + first + "\"");
        }
        if (t < last) return fail("ticks must not decrease");
        last = t;
        if (!(words >> verb)) return fail("missing action");
        words >> arg;
        if (words >> extra) return fail("too many words");
        Action a;
        a.t = t;
        if (verb == "down" || verb == "up" || verb == "tap") {
            a.key = KeyByName(arg);
            if (!a.key) return fail("unknown key \"" + arg + "\"");
            a.kind = verb == "up" ? Action::Kind::Up : Action::Kind::Down;
            actions.push_back(a);
            if (verb == "tap") {
                a.kind = Action::Kind::Up;
                a.t = t + 1;
                actions.push_back(a);
            }
        } else if (verb == "menu" || verb == "click") {
            if (arg.empty()) return fail(verb + " needs a control name");
            a.kind = verb == "menu" ? Action::Kind::Menu : Action::Kind::Click;
            a.name = arg;
            actions.push_back(a);
        } else if (verb == "close") {
            if (!arg.empty()) return fail("close takes no argument");
            a.kind = Action::Kind::Close;
            actions.push_back(a);
        } else {
            return fail("unknown action \"" + verb + "\"");
        }
    }
    // A tap's release may land after a later action of the same tick; keep the order stable.
    std::stable_sort(actions.begin(), actions.end(),
                     [](const Action& x, const Action& y) { return x.t < y.t; });
    return true;
}

// --- running -------------------------------------------------------------------------------

Result Run(const Options& options, const std::function<void()>& entry) {
    g = State{};
    g.options = &options;
    g.tick = options.replay ? options.replay->startTick : options.startTick;
    g.answers = options.answers;
    const int dpi = options.replay ? options.replay->dpi : options.dpi;
    g_twipsX = g_twipsY = RoundLong(1440.0 / dpi);
    ResetKeys();
    ResetSound();
    SetTraceClock(&TraceClock);
    SetTraceSink(options.traceLine ? &TraceToOptions : nullptr);

    Result result;
    if (!options.recordPath.empty() &&
        !StartRecording(options.recordPath,
                        {options.startTick, options.dpi, options.firstRound, "vexaro-sim"},
                        result.message)) {
        result.status = 2; // the game does not run
    } else {
        if (options.replay) StartPlayback(options.replay);
        RunGame(entry, result);
    }
    result.ticks = Elapsed();
    // When the game did not end its process itself.
    const std::string unwritten = FinishRecording("stop");
    if (!unwritten.empty()) g.notes.push_back(unwritten);
    // A recording that could not be written fails the run that asked for it.
    if (!g.notes.empty() && result.message.empty()) {
        result.message = g.notes.front();
        if (result.status == 0) result.status = 2;
    }
    EndPlayback();
    SetTraceSink(nullptr);
    g.options = nullptr;
    return result;
}

std::int64_t Now() {
    return g.options ? Elapsed() : 0;
}

FrameBuffer ComposeMainWindow() {
    FrameBuffer frame;
    if (Form* main = MainForm()) ComposeWindow(*main, frame);
    return frame;
}

void AdvanceClock(std::uint32_t ms) {
    g.tick += ms;
}

} // namespace platform::headless

// --- the desktop -----------------------------------------------------------------------------

namespace platform::desktop {

using namespace headless;

std::uint32_t Ticks() {
    return g.tick;
}

bool StepsMoveTheClock() {
    return true;
}

void Step() {
    if (!g.options) return;
    StopIfDue(true);
    const std::int64_t now = Elapsed();

    while (!g.injectedUps.empty()) {
        KeyUpEvent(g.injectedUps.front());
        g.injectedUps.pop_front();
    }
    while (!g.injectedDowns.empty()) {
        const int key = g.injectedDowns.front();
        g.injectedDowns.pop_front();
        g.injectedUps.push_back(key);
        KeyDownEvent(MainForm(), key);
    }
    const auto& script = g.options->script;
    // Take each action before dispatching it: its handler may run a whole game inside.
    while (g.nextAction < script.size() && script[g.nextAction].t <= now)
        Dispatch(script[g.nextAction++]);
    Timer::FireDue(g.tick);
    TakeShots(now);
    UpdatePictures();
    ++g.tick;
}

// The virtual clock moves a millisecond a step whatever the game waits for.
void WaitingForTick(std::uint32_t) {}

void Wait() {
    Step();
}

void IdleStep() {
    Step();
}

void PlaybackStep() {
    StopIfDue(false);
}

void PlaybackClock(std::int64_t elapsed) {
    // Everything that came before this moment has been handed over: its pictures are due.
    TakeShots(elapsed - 1);
}

void PlaybackOver(int status, const std::string& message) {
    throw PlaybackEnded{status, message};
}

void Notify(const std::string& message) {
    g.notes.push_back(message);
}

int ScreenDpi() {
    return g.options ? g.options->dpi : 96;
}

std::string ExecutableDir() {
    if (g.options && !g.options->appDir.empty()) {
        std::string dir = g.options->appDir;
        if (dir.back() != '/') dir += '/';
        return dir;
    }
    char buf[4096];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return "./";
    std::string path(buf, std::size_t(n));
    return path.substr(0, path.rfind('/') + 1);
}

bool AnotherInstanceRunning() {
    return g.options && g.options->otherInstanceRunning;
}

void ShowForm(Form& form, bool modal) {
    form.loaded = true;
    form.shownModal = modal;
    form.show();
    if (!modal) return;
    const std::uint32_t handle = form.handle();
    g.modal.push_back(&form);
    while (FormLoaded(handle))
        ModalWait();
    std::erase(g.modal, &form);
}

void UnloadForm(Form& form) {
    form.loaded = false;
    form.shownModal = false;
    form.hide();
}

// No windows here; a form that goes stops being a modal window that input is routed to.
void FormDestroyed(Form& form) {
    std::erase(g.modal, &form);
    g.pictures.erase(&form);
}

int MsgBox(const std::string&, int buttons, const std::string&) {
    std::string answer = buttons == vbYesNo ? "no" : "ok";
    if (!g.answers.empty()) {
        answer = g.answers.front();
        g.answers.pop_front();
    }
    if (answer == "yes") return vbYes;
    if (answer == "no") return vbNo;
    return vbOK;
}

void SendKeys(std::string_view keys) {
    if (keys == "{Enter}") g.injectedDowns.push_back(VK_RETURN);
}

int ShellExecute(const std::string&) {
    return g.options ? g.options->shellResult : 42;
}

void EndProcess(int status) {
    throw ProcessEnded{status};
}

} // namespace platform::desktop
