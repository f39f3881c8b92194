// The two pieces of music, as Standard MIDI file bytes.
#pragma once

#include <string>

namespace gensounds {

std::string MakeGameTune(); // "dr.mid": the tune that plays through a game
std::string MakeFanfare();  // "fanfa4.mid": the ending fanfare

// Shared by both tunes: General MIDI programs and controllers used here.
namespace gm {
constexpr int kVolume = 7, kPan = 10, kReverb = 91, kChorus = 93;
constexpr int kDrumChannel = 9; // channel 10 as musicians count
constexpr int kKick = 36, kSnare = 38, kClosedHat = 42, kOpenHat = 46, kCrash = 49, kRide = 51;
constexpr int kTomHigh = 50, kTomMid = 47, kTomLow = 45, kTomFloor = 41;
} // namespace gm

} // namespace gensounds
