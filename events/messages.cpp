#include "core/twips.h"
#include "core/waits.h"
#include "display/fmain.h"
#include "events/presentation.h"
#include "platform/backend.h"
#include "platform/trace.h"
#include "sound/sound.h"

using namespace platform;

void ShowMessage(int index) {
    FMain& f = fMain();
    const Long x = RoundLong(f.pFrame.left() + HalfOf(f.pFrame.width())) / TwipsX;
    const Long y = RoundLong(f.pFrame.top() + HalfOf(f.pFrame.height())) / TwipsY;
    f.pMessage.move(float((x - 160) * TwipsX), float((y - 64) * TwipsY), float(320 * TwipsX),
                    float(128 * TwipsY));
    f.form.bringToFront(f.pMessage);
    f.pMessage.show();
    TraceEvent("message").add("n", index);
    DoEvents();
    // Copied last, onto a plate that is already up: the plate keeps no picture of its own.
    BitBlt(f.pMessage.surface(), 0, 0, 320, 128, f.pMsg[index].surface(), 0, 0, SRCCOPY);
}

void HideMessage() {
    FMain& f = fMain();
    if (f.pMessage.visible()) TraceEvent("message-hidden");
    f.pMessage.hide();
}

namespace {
void ShowDigit(int digit) {
    FMain& f = fMain();
    for (int i = 0; i < 3; ++i)
        f.pCount[i].setVisible(i == digit - 1);
    TraceEvent("countdown").add("digit", digit);
    PlaySoundFile("beep.wav", 0);
    WaitMilliseconds(1000);
}
} // namespace

void CountDown() {
    FMain& f = fMain();
    for (int i = 0; i < 3; ++i)
        f.pCount[i].move(
            float(HalfOf(f.pFrame.width()) + f.pFrame.left() - HalfOf(f.pCount[i].width())),
            float(f.pFrame.top() + 64 * TwipsY));
    ShowDigit(3);
    ShowDigit(2);
    ShowDigit(1);
    f.pCount[0].hide();
}
