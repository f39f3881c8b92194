// Wave effects and the music channel on SDL_mixer. Everything fails silently: a sound that
// cannot be played is simply not heard, as the game expects.
#include "platform/sdl/sound_sdl.h"
#include "platform/desktop.h"
#include "platform/file_read.h"
#include "platform/sdl/tune.h"
#include "platform/sound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

namespace {

constexpr int kWaveChannel = 0; // the one channel: a new effect cuts the previous one
constexpr int kFrequency = 44100;
constexpr int kChunkFrames = 1024; // about 23 ms: effects start close to the moment they are asked
// The level of music SDL_mixer plays itself (a file other than MIDI), as the MIDI tunes are made
// (platform/tunes/fluidsynth.cpp): SDL_mixer drives FluidSynth at up to six times its usual gain, which
// clips an ordinary General MIDI tune; this level puts the tunes a few decibels under the effects.
constexpr int kMusicVolume = 56;

bool audioOpen = false;
// Decoded effects by path, freed at close. Never destroyed itself: a game that ends without
// closing the sound (a lost display) still holds its effects, rather than dropping them.
std::map<std::string, Mix_Chunk*>& waveCache = *new std::map<std::string, Mix_Chunk*>;
Mix_Music* bgm = nullptr; // a file other than MIDI open under the alias "bgm"

// A MIDI tune open under the alias "bgm", made ready as samples (tune.h), and where the mixer
// plays it: the mixer's thread reads these under the mutex. Never destroyed, like the effects: a
// process that ends without closing the sound (a lost display) must not pull the tune away from
// under the mixer's thread, which runs on until the very end.
std::shared_ptr<sdl::Tune>& openTune = *new std::shared_ptr<sdl::Tune>;
std::mutex& tuneMutex = *new std::mutex;
bool tunePlaying = false;
std::int64_t playedFrames = 0;
// Mid-tune, the mixer waits this long at most for a tune still being made; at its start it
// waits not at all (the silence before it is the time its making takes, as it was the time
// SDL_mixer took to load the sound font).
constexpr int kTuneWaitMs = 200;

// The mixer's music: the open tune's next frames, over silence. It runs only while the tune is
// open (the hook is taken away before the tune is let go), so the tune outlives every call.
void SDLCALL MixTune(void* open, Uint8* stream, int len) {
    auto* tune = static_cast<sdl::Tune*>(open);
    std::int64_t at = 0;
    {
        std::lock_guard lock(tuneMutex);
        if (!tunePlaying) return;
        at = playedFrames;
    }
    const int frames = len / int(2 * sizeof(std::int16_t));
    auto* out = reinterpret_cast<std::int16_t*>(stream);
    const int copied = tune->read(at, out, frames, at > 0 ? kTuneWaitMs : 0);
    std::lock_guard lock(tuneMutex);
    if (!tunePlaying || playedFrames != at) { // stopped or started again meanwhile
        std::fill_n(out, 2 * copied, std::int16_t(0));
        return;
    }
    playedFrames += copied;
    if (tune->endsBy(playedFrames)) tunePlaying = false;
}

Mix_Chunk* LoadWave(const std::string& path) {
    const auto cached = waveCache.find(path);
    if (cached != waveCache.end()) return cached->second;
    Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
    if (chunk != nullptr) waveCache.emplace(path, chunk); // failures are retried next time
    return chunk;
}

std::uint32_t BigEndian(std::string_view bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = 0; i < size; ++i)
        value = (value << 8) | static_cast<std::uint8_t>(bytes[at + i]);
    return value;
}

// Steps over a variable-length number; false when it runs past the end.
bool SkipVarLen(std::string_view bytes, std::size_t& at, std::size_t end, std::uint32_t* value) {
    std::uint32_t result = 0;
    for (int i = 0; i < 4 && at < end; ++i) {
        const auto byte = static_cast<std::uint8_t>(bytes[at++]);
        result = (result << 7) | (byte & 0x7F);
        if ((byte & 0x80) == 0) {
            if (value != nullptr) *value = result;
            return true;
        }
    }
    return false;
}

// Walks one track's events; true when every event is whole and the track is ended.
bool TrackIsWhole(std::string_view bytes, std::size_t at, std::size_t end) {
    int running = 0;
    while (at < end) {
        if (!SkipVarLen(bytes, at, end, nullptr) || at >= end) return false;
        int status = static_cast<std::uint8_t>(bytes[at]);
        if (status & 0x80)
            ++at;
        else if (running != 0)
            status = running;
        else
            return false;
        std::uint32_t length = 0;
        if (status == 0xFF) {
            if (at >= end) return false;
            const int type = static_cast<std::uint8_t>(bytes[at++]);
            if (!SkipVarLen(bytes, at, end, &length) || length > end - at) return false;
            at += length;
            if (type == 0x2F) return true; // end of track
        } else if (status == 0xF0 || status == 0xF7) {
            if (!SkipVarLen(bytes, at, end, &length) || length > end - at) return false;
            at += length;
        } else if (status >= 0xF0) {
            return false; // not allowed in a file
        } else {
            running = status;
            const std::size_t data = (status & 0xE0) == 0xC0 ? 1 : 2;
            if (data > end - at) return false;
            for (std::size_t i = 0; i < data; ++i)
                if (bytes[at + i] & 0x80) return false;
            at += data;
        }
    }
    return false;
}

// SDL_mixer takes a .mid file by its name and only finds out while playing that it is broken
// (and FluidSynth then complains on the console). The desktop's music device refuses such a
// file at "open", so the player checks the whole file first: a header and every track intact.
bool IsWholeMidiFile(std::string_view bytes) {
    if (bytes.size() < 14 || bytes.substr(0, 4) != "MThd") return false;
    const std::uint32_t headerSize = BigEndian(bytes, 4, 4);
    if (headerSize < 6 || headerSize > bytes.size() - 8) return false;
    const std::uint32_t format = BigEndian(bytes, 8, 2);
    const std::uint32_t tracks = BigEndian(bytes, 10, 2);
    if (format > 2 || tracks == 0 || BigEndian(bytes, 12, 2) == 0) return false;
    std::size_t at = 8 + headerSize;
    for (std::uint32_t t = 0; t < tracks; ++t) {
        if (bytes.size() - at < 8 || bytes.substr(at, 4) != "MTrk") return false;
        const std::uint32_t size = BigEndian(bytes, at + 4, 4);
        at += 8;
        if (size > bytes.size() - at || !TrackIsWhole(bytes, at, at + size)) return false;
        at += size;
    }
    return true;
}

bool HasMidiExtension(const std::string& path) {
    // Taken from the text itself: a std::filesystem::path made from a narrow string would read
    // it in the ANSI code page on Windows, where most UTF-8 names do not survive.
    const std::size_t name = path.find_last_of("/\\") + 1; // 0 when there is no folder
    const std::size_t dot = path.rfind('.');
    std::string ext = dot != std::string::npos && dot > name ? path.substr(dot) : "";
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == ".mid" || ext == ".midi";
}

// Other kinds of file are left to SDL_mixer, which checks them itself.
bool CanOpenAsMusic(const std::string& path) {
    if (!HasMidiExtension(path)) return true;
    constexpr std::size_t kLargestTune = 16 << 20; // far beyond any tune; bounds the memory
    std::vector<std::uint8_t> bytes;
    if (ReadFileBytes(path, kLargestTune, bytes) != DiskRead::Read || bytes.size() > kLargestTune)
        return false;
    return IsWholeMidiFile(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

bool MusicOpen() {
    return bgm != nullptr || openTune != nullptr;
}

void CloseMusic() {
    if (openTune) {
        // Waits for a mix in progress: the tune is let go only once no mix can touch it.
        Mix_HookMusic(nullptr, nullptr); // SDL_mixer's own music player again
        std::lock_guard lock(tuneMutex);
        tunePlaying = false;
        openTune = nullptr;
    }
    if (bgm == nullptr) return;
    Mix_HaltMusic();
    Mix_FreeMusic(bgm);
    bgm = nullptr;
}

// Opens a tune the checks let through: a MIDI file as samples made ahead, anything else with
// SDL_mixer's own player.
bool OpenTune(const std::string& path) {
    if (!HasMidiExtension(path)) {
        bgm = Mix_LoadMUS(path.c_str());
        return bgm != nullptr;
    }
    int rate = 0, channels = 0;
    Uint16 format = 0;
    if (Mix_QuerySpec(&rate, &format, &channels) == 0) return false;
    openTune = sdl::MakeTune(path, rate);
    if (!openTune) return false;
    Mix_HookMusic(MixTune, openTune.get());
    return true;
}

bool PlayTune() {
    if (openTune) {
        std::lock_guard lock(tuneMutex);
        tunePlaying = true;
        playedFrames = 0;
        return true;
    }
    return bgm != nullptr && Mix_PlayMusic(bgm, 1) == 0;
}

// Splits a command on spaces; words are compared without regard to case, as the desktop's
// command interface does.
std::vector<std::string> Words(std::string_view command) {
    std::vector<std::string> words;
    std::string word;
    for (char c : command) {
        if (c == ' ' || c == '\t') {
            if (!word.empty()) words.push_back(word), word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty()) words.push_back(word);
    return words;
}

bool SameWord(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

constexpr int kOk = 0;
constexpr int kFailed = 1;

// "open <path> alias bgm": the path is everything between the first word and "alias bgm", so a
// folder with spaces in its name still works.
int OpenMusic(std::string_view command) {
    const std::vector<std::string> words = Words(command);
    if (words.size() < 4 || !SameWord(words[words.size() - 2], "alias") ||
        !SameWord(words.back(), "bgm"))
        return kFailed;
    if (!audioOpen || MusicOpen()) return kFailed; // the alias is taken until it is closed
    const std::size_t start = command.find(words[0]) + words[0].size();
    const std::size_t end = command.rfind(words[words.size() - 2]);
    std::string path(command.substr(start, end - start));
    while (!path.empty() && (path.front() == ' ' || path.front() == '\t'))
        path.erase(0, 1);
    while (!path.empty() && (path.back() == ' ' || path.back() == '\t'))
        path.pop_back();
    if (path.empty() || !CanOpenAsMusic(path)) return kFailed;
    return OpenTune(path) ? kOk : kFailed;
}

// Milliseconds a decoded sound lasts at the device's rate.
Uint32 LengthMs(const Mix_Chunk* chunk) {
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    if (Mix_QuerySpec(&frequency, &format, &channels) == 0) return 0;
    const Uint64 bytesPerSecond =
        static_cast<Uint64>(frequency) * channels * (SDL_AUDIO_BITSIZE(format) / 8);
    return bytesPerSecond == 0 ? 0 : static_cast<Uint32>(chunk->alen * 1000ull / bytesPerSecond);
}

// Blocks the whole game, window included, until the sound has ended; bounded by the sound's
// own length and a second more, so a device that stops playing cannot freeze the game.
void WaitForWave(const Mix_Chunk* chunk) {
    const Uint32 limit = LengthMs(chunk) + 1000;
    const Uint32 start = SDL_GetTicks();
    while (Mix_Playing(kWaveChannel) && SDL_GetTicks() - start < limit)
        SDL_Delay(1);
}

} // namespace

namespace desktop {

bool sndPlaySound(const std::string& path, int flags) {
    if (!audioOpen) return false;
    Mix_Chunk* chunk = LoadWave(path);
    if (chunk == nullptr) return false;
    if (Mix_PlayChannel(kWaveChannel, chunk, 0) < 0) return false;
    if (flags == SND_SYNC) WaitForWave(chunk);
    return true;
}

int mciSendString(std::string_view command) {
    const std::vector<std::string> words = Words(command);
    if (words.empty()) return kFailed;
    const std::string& verb = words[0];
    const bool aliasOnly = words.size() >= 2 && SameWord(words[1], "bgm");
    if (SameWord(verb, "open")) return OpenMusic(command);
    if (SameWord(verb, "status") && aliasOnly && words.size() == 3 && SameWord(words[2], "mode"))
        return MusicOpen() ? kOk : kFailed;
    if (SameWord(verb, "play") && aliasOnly && words.size() <= 3) {
        if (words.size() == 3 && !SameWord(words[2], "notify")) return kFailed;
        return PlayTune() ? kOk : kFailed; // once, from the start
    }
    if (SameWord(verb, "close") && aliasOnly && words.size() == 2) {
        if (!MusicOpen()) return kFailed;
        CloseMusic();
        return kOk;
    }
    return kFailed;
}

} // namespace desktop

namespace sdl {

bool MusicPlaying() {
    {
        std::lock_guard lock(tuneMutex);
        if (tunePlaying) return true;
    }
    return Mix_PlayingMusic() != 0;
}

bool OpenAudio() {
    if (audioOpen) return true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    // Always 16-bit stereo, as the tunes are made (SDL converts for a device that differs); the
    // rate is the device's own.
    if (Mix_OpenAudioDevice(kFrequency, AUDIO_S16SYS, 2, kChunkFrames, nullptr,
                            SDL_AUDIO_ALLOW_FREQUENCY_CHANGE) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_AllocateChannels(1);
    Mix_VolumeMusic(kMusicVolume);
    audioOpen = true;
    return true;
}

void CloseAudio() {
    if (!audioOpen) return;
    CloseMusic();
    sdl::ForgetTunes();
    Mix_HaltChannel(-1);
    for (auto& [path, chunk] : waveCache)
        Mix_FreeChunk(chunk);
    waveCache.clear();
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    audioOpen = false;
}

} // namespace sdl

} // namespace platform
