// The desktop's tunes: MIDI files rendered once by FluidSynth on a thread of their own, with the
// settings SDL_mixer's FluidSynth player uses (the device's rate, its gain for the music volume,
// blocks of the device's size, the tune over when the MIDI player says so), so they sound as
// they did when SDL_mixer synthesised them while they played.
#include "platform/file_read.h"
#include "platform/sdl/tune.h"

#include <fluidsynth.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace platform::sdl {

namespace {

// What SDL_mixer's FluidSynth player does for Mix_VolumeMusic(56): gain = volume * 1.2 / 128.
constexpr int kMusicVolume = 56;
constexpr float kGain = float(kMusicVolume * 1.2 / 128);
// SDL_mixer writes one device buffer at a time and asks the MIDI player after each whether the
// tune goes on: its end falls on a whole block.
constexpr int kBlockFrames = 1024;
// Far beyond any tune of the game; bounds the memory a strange file can take.
constexpr int kLongestSeconds = 6 * 60;
constexpr std::size_t kLargestMidi = 16 << 20;

// The General MIDI sound fonts Debian's packages install, most likely first.
std::string FindSoundFont() {
    static const char* const kKnown[] = {
        "/usr/share/sounds/sf2/TimGM6mb.sf2",          "/usr/share/sounds/sf2/default-GM.sf2",
        "/usr/share/sounds/sf2/FluidR3_GM.sf2",        "/usr/share/sounds/sf3/default-GM.sf3",
        "/usr/share/sounds/sf3/MuseScore_General.sf3",
    };
    std::error_code error;
    for (const char* path : kKnown)
        if (std::filesystem::is_regular_file(path, error)) return path;
    // Any other font in the usual folders will still play the tune.
    for (const char* dir :
         {"/usr/share/sounds/sf2", "/usr/share/sounds/sf3", "/usr/share/soundfonts"}) {
        // Stepped by hand: the error-code form never throws, even on an unreadable entry.
        for (std::filesystem::directory_iterator it(dir, error), end; !error && it != end;
             it.increment(error)) {
            const std::string ext = it->path().extension().string();
            if (it->is_regular_file(error) && (ext == ".sf2" || ext == ".sf3"))
                return it->path().string();
        }
    }
    return "";
}

// The sound fonts to load, as SDL_mixer takes them: the player's own list in SDL_SOUNDFONTS
// (separated by ':' or ';'), else the one found; only those that can be opened.
std::vector<std::string> SoundFonts() {
    const char* chosen = std::getenv("SDL_SOUNDFONTS");
    const std::string list = chosen ? chosen : FindSoundFont();
    std::vector<std::string> fonts;
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t end = std::min(list.find_first_of(":;", start), list.size());
        const std::string path = list.substr(start, end - start);
        if (!path.empty())
            if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
                std::fclose(f);
                fonts.push_back(path);
            }
        start = end + 1;
    }
    return fonts;
}

// One MIDI file rendered block by block into memory; readers take what is ready.
class RenderedTune : public Tune {
  public:
    RenderedTune(std::vector<std::uint8_t> midi, std::vector<std::string> fonts, int rate)
        : rate_(rate), maxBlocks_(std::size_t(kLongestSeconds) * rate / kBlockFrames + 1),
          blocks_(new std::unique_ptr<std::int16_t[]>[maxBlocks_]) {
        worker_ = std::thread(
            [this, midi = std::move(midi), fonts = std::move(fonts)] { render(midi, fonts); });
    }
    ~RenderedTune() override {
        stop_ = true;
        worker_.join();
    }

    int read(std::int64_t at, std::int16_t* out, int frames, int waitMs) override {
        std::size_t ready = ready_.load(std::memory_order_acquire);
        const auto covered = [&] { return std::int64_t(ready) * kBlockFrames >= at + frames; };
        if (!covered() && !done_ && waitMs > 0) {
            std::unique_lock lock(mutex_);
            grown_.wait_for(lock, std::chrono::milliseconds(waitMs), [&] {
                ready = ready_.load(std::memory_order_acquire);
                return covered() || done_;
            });
        }
        int copied = 0;
        while (copied < frames) {
            const std::int64_t frame = at + copied;
            const std::size_t block = std::size_t(frame / kBlockFrames);
            if (block >= ready) break;
            const int offset = int(frame % kBlockFrames);
            const int n = std::min(frames - copied, kBlockFrames - offset);
            std::memcpy(out + 2 * copied, blocks_[block].get() + 2 * offset,
                        sizeof(std::int16_t) * 2 * n);
            copied += n;
        }
        return copied;
    }

    bool endsBy(std::int64_t at) const override {
        return done_ && at >= std::int64_t(ready_.load(std::memory_order_acquire)) * kBlockFrames;
    }

    int rate() const { return rate_; }

  private:
    void render(const std::vector<std::uint8_t>& midi, const std::vector<std::string>& fonts) {
        fluid_settings_t* settings = new_fluid_settings();
        fluid_synth_t* synth = nullptr;
        fluid_player_t* player = nullptr;
        if (settings) {
            fluid_settings_setnum(settings, "synth.sample-rate", double(rate_));
            synth = new_fluid_synth(settings);
        }
        if (synth) {
            for (const std::string& font : fonts)
                fluid_synth_sfload(synth, font.c_str(), 1);
            player = new_fluid_player(synth);
        }
        if (player && fluid_player_add_mem(player, midi.data(), midi.size()) == FLUID_OK) {
            fluid_synth_set_gain(synth, kGain);
            fluid_player_set_loop(player, 1);
            fluid_player_play(player);
            renderBlocks(synth, player);
        }
        if (player) delete_fluid_player(player);
        if (synth) delete_fluid_synth(synth);
        if (settings) delete_fluid_settings(settings);
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        grown_.notify_all();
    }

    void renderBlocks(fluid_synth_t* synth, fluid_player_t* player) {
        std::size_t made = 0;
        do {
            auto block = std::make_unique<std::int16_t[]>(2 * kBlockFrames);
            if (fluid_synth_write_s16(synth, kBlockFrames, block.get(), 0, 2, block.get(), 1, 2) !=
                FLUID_OK)
                break;
            blocks_[made++] = std::move(block);
            {
                std::lock_guard lock(mutex_);
                ready_.store(made, std::memory_order_release);
            }
            grown_.notify_all();
        } while (!stop_ && made < maxBlocks_ &&
                 fluid_player_get_status(player) == FLUID_PLAYER_PLAYING);
    }

    const int rate_;
    const std::size_t maxBlocks_;
    // Filled in order by the worker; a block below ready_ is never touched again.
    std::unique_ptr<std::unique_ptr<std::int16_t[]>[]> blocks_;
    std::atomic<std::size_t> ready_{0};
    std::atomic<bool> done_{false};
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::condition_variable grown_;
    std::thread worker_;
};

// Tunes made so far, by file: the game plays the same two again and again.
struct Made {
    std::uintmax_t size = 0;
    std::filesystem::file_time_type written;
    std::shared_ptr<RenderedTune> tune;
};
// Never destroyed (it stays reachable, no leak): a process that ends without closing the sound
// (a lost display) leaves its tunes alone, and their threads end with it.
std::mutex& g_madeMutex = *new std::mutex;
std::map<std::string, Made>& MadeTunes() {
    static auto& made = *new std::map<std::string, Made>;
    return made;
}
constexpr std::size_t kTunesKept = 4;

} // namespace

std::shared_ptr<Tune> MakeTune(const std::string& path, int rate) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    const auto written =
        error ? std::filesystem::file_time_type{} : std::filesystem::last_write_time(path, error);
    std::lock_guard lock(g_madeMutex);
    auto& made = MadeTunes();
    if (!error)
        if (const auto it = made.find(path); it != made.end() && it->second.size == size &&
                                             it->second.written == written &&
                                             it->second.tune->rate() == rate)
            return it->second.tune;
    const std::vector<std::string> fonts = SoundFonts();
    std::vector<std::uint8_t> midi;
    if (fonts.empty() || ReadFileBytes(path, kLargestMidi, midi) != DiskRead::Read ||
        midi.size() > kLargestMidi)
        return nullptr;
    auto tune = std::make_shared<RenderedTune>(std::move(midi), fonts, rate);
    if (!error) {
        if (made.size() >= kTunesKept && !made.count(path)) made.erase(made.begin());
        made[path] = Made{size, written, tune};
    }
    return tune;
}

void ForgetTunes() {
    std::map<std::string, Made> gone;
    {
        std::lock_guard lock(g_madeMutex);
        gone.swap(MadeTunes());
    }
    // The tunes still rendering stop when their last holder lets go (the music channel holds
    // the one it plays until it closes).
}

} // namespace platform::sdl
