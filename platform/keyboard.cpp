// The key record behind GetAsyncKeyState, shared by both backends.
#include "platform/backend.h"

#include <array>

namespace platform {

namespace {
struct KeyRecord {
    std::uint8_t heldBy = 0; // KeySource bits
    bool pressedSinceQuery = false;
};
std::array<KeyRecord, 256> g_keys;
} // namespace

std::int16_t GetAsyncKeyState(int vkey) {
    if (vkey < 0 || vkey >= int(g_keys.size())) return 0;
    KeyRecord& k = g_keys[vkey];
    std::int16_t state = std::int16_t((k.heldBy ? 0x8000 : 0) | (k.pressedSinceQuery ? 1 : 0));
    k.pressedSinceQuery = false;
    return state;
}

void KeyDownEvent(Form* target, int vkey, KeySource source) {
    if (vkey >= 0 && vkey < int(g_keys.size())) {
        g_keys[vkey].heldBy |= std::uint8_t(source);
        g_keys[vkey].pressedSinceQuery = true;
    }
    if (target && target->onKeyDown) target->onKeyDown(vkey);
}

void KeyUpEvent(int vkey, KeySource source) {
    if (vkey >= 0 && vkey < int(g_keys.size())) g_keys[vkey].heldBy &= ~std::uint8_t(source);
}

void ResetKeys() {
    g_keys = {};
}

} // namespace platform

namespace platform {

namespace {
Form* g_mainForm = nullptr;
}

void SetMainForm(Form* form) {
    g_mainForm = form;
}
Form* MainForm() {
    return g_mainForm;
}

void RunMessageLoop() {
    for (;;)
        DoEvents();
}

} // namespace platform
