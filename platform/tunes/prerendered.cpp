// Where there is no MIDI synthesiser (the browser, Windows), each tune X.mid is played from X.ogg
// beside it: the same tune through the desktop's FluidSynth and sound font at the music channel's
// loudness, rendered at build time (tools/tunes/render-tunes.sh). Which file plays is the
// target's business: the game still opens, checks and names the MIDI file, so a recording made
// here plays the same on the desktop.
#include "platform/sdl/tune.h"

#include <SDL_mixer.h>

#include <algorithm>
#include <cstring>
#include <map>

namespace platform::sdl {

namespace {

// A whole tune decoded at once into the device's format (16-bit stereo at its rate).
class DecodedTune : public Tune {
  public:
    explicit DecodedTune(Mix_Chunk* chunk) : chunk_(chunk) {}
    ~DecodedTune() override { Mix_FreeChunk(chunk_); }

    int read(std::int64_t at, std::int16_t* out, int frames, int /*waitMs*/) override {
        const std::int64_t left = std::max<std::int64_t>(0, this->frames() - at);
        const int n = int(std::min<std::int64_t>(frames, left));
        if (n > 0)
            std::memcpy(out, reinterpret_cast<const std::int16_t*>(chunk_->abuf) + 2 * at,
                        sizeof(std::int16_t) * 2 * std::size_t(n));
        return n;
    }

    bool endsBy(std::int64_t at) const override { return at >= frames(); }

  private:
    std::int64_t frames() const { return chunk_->alen / (2 * sizeof(std::int16_t)); }
    Mix_Chunk* chunk_;
};

// The game plays the same two tunes again and again: each is decoded once. Never destroyed,
// like the desktop's tunes: the mixer's thread may still hold one at the very end.
std::map<std::string, std::shared_ptr<Tune>>& DecodedTunes() {
    static auto& tunes = *new std::map<std::string, std::shared_ptr<Tune>>;
    return tunes;
}
constexpr std::size_t kTunesKept = 4;

std::string RenderedFile(const std::string& midiPath) {
    const std::size_t dot = midiPath.find_last_of('.');
    const std::size_t slash = midiPath.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    return midiPath.substr(0, dot) + ".ogg";
}

} // namespace

std::shared_ptr<Tune> MakeTune(const std::string& path, int /*rate*/) {
    auto& tunes = DecodedTunes();
    if (const auto it = tunes.find(path); it != tunes.end()) return it->second;
    const std::string file = RenderedFile(path);
    // Decoded into the device's own format, which the mixer was opened with.
    Mix_Chunk* chunk = file.empty() ? nullptr : Mix_LoadWAV(file.c_str());
    if (!chunk) return nullptr;
    auto tune = std::make_shared<DecodedTune>(chunk);
    if (tunes.size() >= kTunesKept) tunes.erase(tunes.begin());
    tunes[path] = tune;
    return tune;
}

void ForgetTunes() {
    DecodedTunes().clear();
}

} // namespace platform::sdl
