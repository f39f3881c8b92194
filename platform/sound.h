// The desktop's sound services as the game uses them: a wave player and a command-string
// interface to one named music channel.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Wave player flags: 0 blocks until the sound has ended (no window messages meanwhile),
// 1 returns at once while the sound plays on.
constexpr int SND_SYNC = 0;
constexpr int SND_ASYNC = 1;

// Plays a wave file. A new sound cuts the one still playing. Returns false when the file
// could not be played (the game ignores the result).
bool sndPlaySound(const std::string& path, int flags);

// Sends one command string to the music device. Understood commands, with the alias "bgm":
//   "status bgm mode"          0 when the alias is open, nonzero otherwise
//   "open <path> alias bgm"    0 when the tune could be opened
//   "play bgm notify"          plays the open tune once from its start
//   "close bgm"                stops and closes the tune
// Anything else returns nonzero. Nothing is ever reported to the player.
int mciSendString(std::string_view command);

} // namespace platform
