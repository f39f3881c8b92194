#include "core/waits.h"

#include "platform/backend.h"

using platform::DoEvents;
using platform::GetAsyncKeyState;
using platform::GetTickCount;

void WaitMilliseconds(Long ms) {
    const Long start = Long(GetTickCount());
    platform::WaitingForTick(std::uint32_t(start) + std::uint32_t(ms));
    for (;;) {
        const Long now = Long(GetTickCount());
        DoEvents();
        // The difference in 32-bit two's complement, compared as signed.
        if (Long(std::uint32_t(now) - std::uint32_t(start)) >= ms) break;
    }
}

Long WaitForKey(Long seconds, Long vkey) {
    // A key still held, or pressed since the last look, never counts for this wait.
    while (GetAsyncKeyState(vkey) != 0)
        DoEvents();
    if (seconds <= 0) return kFalse;
    Long ticks = 0;
    Long elapsed = 0;
    do {
        if (GetAsyncKeyState(vkey) != 0) return kTrue;
        WaitMilliseconds(100);
        ticks = ticks + 1;
        if (ticks > 10) {
            ticks = 1;
            elapsed = elapsed + 1;
        }
        DoEvents();
    } while (elapsed < seconds);
    return kFalse;
}
