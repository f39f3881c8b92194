// Sound effects and music: every sound of the game is played through here.
#pragma once

#include "core/game_state.h"

#include <string>

// Plays a file of the "wav" folder beside the executable: wave files with the wave player
// (flags 0 waits for the end, 1 returns at once), MIDI files on the music channel "bgm". Does
// nothing while sound is off, and nothing for a missing file.
void PlaySoundFile(const std::string& fileName, Long SoundFlags);

// Stops the tune on the music channel, if one is open.
void StopMusic();
