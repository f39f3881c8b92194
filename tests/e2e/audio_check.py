#!/usr/bin/env python3
"""Checks what the game wrote through SDL's disk audio driver (signed 16-bit stereo, 44100 Hz):
three countdown beeps about a second apart and the game tune audible around them."""
import math
import struct
import sys

RATE = 44100
WINDOW = RATE // 50  # 20 ms


def goertzel(samples, freq):
    k = 2 * math.cos(2 * math.pi * freq / RATE)
    s1 = s2 = 0.0
    for x in samples:
        s1, s2 = x + k * s1 - s2, s1
    return s1 * s1 + s2 * s2 - k * s1 * s2


def main(path):
    data = open(path, "rb").read()
    count = len(data) // 4
    mono = [(l + r) / 2 for l, r in struct.iter_unpack("<hh", data[: count * 4])]
    windows = [mono[i:i + WINDOW] for i in range(0, len(mono) - WINDOW, WINDOW)]
    rms = [math.sqrt(sum(x * x for x in w) / len(w)) for w in windows]
    # The beep's tone (880 Hz) against everything else in the window.
    tone = []
    for w, r in zip(windows, rms):
        energy = r * r * len(w) * len(w) / 2 or 1.0
        tone.append(goertzel(w, 880.0) / energy)
    beeps = []
    for i, t in enumerate(tone):
        if t > 0.5 and rms[i] > 1000 and (not beeps or i - beeps[-1][-1] > 5):
            beeps.append([i])
        elif t > 0.5 and rms[i] > 1000:
            beeps[-1].append(i)
    starts = [b[0] * WINDOW / RATE for b in beeps]
    print("beeps at", ["%.2f s" % s for s in starts])
    if len(beeps) < 3:
        print("fewer than three beeps")
        return 1
    gaps = [b - a for a, b in zip(starts, starts[1:])][:2]
    if not all(0.9 < g < 1.5 for g in gaps):
        print("the beeps are not about a second apart:", gaps)
        return 1
    # The tune: after the last beep the music goes on, well above silence.
    after = rms[beeps[2][-1] + 5: beeps[2][-1] + 5 + 50]
    level = 20 * math.log10(max(1e-9, sum(after) / max(1, len(after))) / 32768)
    print("music level after the count: %.1f dBFS" % level)
    if level < -45:
        print("the game tune is not audible")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
