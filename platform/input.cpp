// The key record behind GetAsyncKeyState, and the door through which every input reaches the
// game's handlers, shared by both backends.
#include "platform/input.h"

#include "platform/backend.h"
#include "platform/key_latency.h"
#include "platform/recording.h"
#include "platform/replay.h"
#include "platform/trace.h"

#include <array>

namespace platform {

namespace {

struct KeyRecord {
    std::uint8_t heldBy = 0; // KeySource bits
    bool pressedSinceQuery = false;
};
std::array<KeyRecord, 256> g_keys;
Form* g_mainForm = nullptr;

bool IsKey(int vkey) {
    return vkey > 0 && vkey < int(g_keys.size());
}

// While a recording plays, the desktop's own input is not the game's: Escape stops the
// playback, closing the main window ends the program, and everything else is ignored.
bool TakenByPlayback(From from, int vkey = 0) {
    if (from != From::Desktop || !IsPlaying()) return false;
    if (vkey == VK_ESCAPE) StopPlaybackByPlayer();
    return true;
}

// Only the desktop's input goes into a recording: a recording's own is in it already.
template <class MakeLine>
void NoteInput(From from, const MakeLine& makeLine) {
    if (from == From::Desktop) replay::Note(makeLine);
}

std::string Pointer(Form& form, Control* over, int x, int y) {
    return RecordingName(form.name()) + " " + (over ? RecordingName(over->name()) : "-") + " " +
           std::to_string(x) + " " + std::to_string(y);
}

// A key's first word in a recording, and its blank: "down ", "up ", "pad-down " or "pad-up ".
std::string KeyWord(KeySource source, bool down) {
    const char* word = down ? "down " : "up ";
    return source == KeySource::Gamepad ? std::string("pad-") + word : word;
}

} // namespace

std::int16_t GetAsyncKeyState(int vkey) {
    if (!IsKey(vkey)) return 0;
    KeyRecord& k = g_keys[vkey];
    std::int16_t state = std::int16_t((k.heldBy ? 0x8000 : 0) | (k.pressedSinceQuery ? 1 : 0));
    k.pressedSinceQuery = false;
    if (state != 0) latency::KeyRead(vkey);
    return state;
}

void KeyDownEvent(Form* target, int vkey, KeySource source, From from) {
    if (TakenByPlayback(from, vkey) || !IsKey(vkey)) return;
    NoteInput(from,
              [&] { return KeyWord(source, true) + std::to_string(vkey) + (target ? "" : " -"); });
    g_keys[vkey].heldBy |= std::uint8_t(source);
    g_keys[vkey].pressedSinceQuery = true;
    if (target && target->onKeyDown) target->onKeyDown(vkey);
}

void KeyUpEvent(int vkey, KeySource source, From from) {
    if (TakenByPlayback(from) || !IsKey(vkey)) return;
    NoteInput(from, [&] { return KeyWord(source, false) + std::to_string(vkey); });
    g_keys[vkey].heldBy &= std::uint8_t(~unsigned(source));
}

void FormKeyEvent(Form& form, int vkey, From from) {
    if (TakenByPlayback(from, vkey) || !form.onKeyDown || !IsKey(vkey)) return;
    NoteInput(from,
              [&] { return "down " + std::to_string(vkey) + " " + RecordingName(form.name()); });
    form.onKeyDown(vkey);
}

void MenuEvent(MenuItem& item, From from) {
    if (TakenByPlayback(from) || !item.onClick) return;
    NoteInput(from, [&] { return "menu " + RecordingName(item.name); });
    TraceEvent("menu").add("name", item.name);
    const auto handler = item.onClick; // the item may change while its command runs
    handler();
}

void CloseEvent(Form& form, From from) {
    if (TakenByPlayback(from)) {
        if (&form == MainForm()) EndProcess(0);
        return;
    }
    NoteInput(from, [&] { return "close " + RecordingName(form.name()); });
    TraceEvent("close").add("form", form.name());
    if (form.onUnload)
        form.onUnload();
    else if (&form == MainForm())
        EndProcess(0);
    else
        UnloadForm(form);
}

void ClickEvent(Form& form, Control* over, int x, int y, From from) {
    if (TakenByPlayback(from) || !form.onClick) return;
    NoteInput(from, [&] { return "click " + Pointer(form, over, x, y); });
    TraceEvent("click").add("name", over ? over->name() : form.name());
    form.onClick(over, x, y);
}

void MouseMoveEvent(Form& form, Control* over, int x, int y, From from) {
    if (TakenByPlayback(from) || !form.onMouseMove) return;
    NoteInput(from, [&] { return "move " + Pointer(form, over, x, y); });
    form.onMouseMove(over, x, y);
}

void WheelEvent(Form& form, int notches, From from) {
    if (TakenByPlayback(from) || !form.onMouseWheel) return;
    NoteInput(from, [&] {
        return "wheel " + RecordingName(form.name()) + " " + std::to_string(notches);
    });
    form.onMouseWheel(notches);
}

void TimerEvent(Timer& timer, From from) {
    if (TakenByPlayback(from) || !timer.onTimer) return;
    NoteInput(from, [&] { return "timer " + RecordingName(timer.name()); });
    timer.onTimer();
}

void ResetKeys() {
    g_keys = {};
}

void SetMainForm(Form* form) {
    g_mainForm = form;
}
Form* MainForm() {
    return g_mainForm;
}

} // namespace platform
