// vexaro-gen-sounds OUTDIR: writes the game's seven sound files into OUTDIR. The output is the
// same bytes on every run, so the committed files can be checked against a fresh generation.
#include "effects.h"
#include "tunes.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

bool WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) std::fprintf(stderr, "vexaro-gen-sounds: cannot write %s\n", path.c_str());
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vexaro-gen-sounds OUTDIR\n");
        return 2;
    }
    using namespace gensounds;
    const std::vector<std::pair<const char*, std::function<std::string()>>> files = {
        {"beep.wav", [] { return EncodeWav(MakeBeep()); }},
        {"get.wav", [] { return EncodeWav(MakeGet()); }},
        {"thank.wav", [] { return EncodeWav(MakeThank()); }},
        {"bomb.wav", [] { return EncodeWav(MakeBomb()); }},
        {"wave06.wav", [] { return EncodeWav(MakeWave06()); }},
        {"dr.mid", MakeGameTune},
        {"fanfa4.mid", MakeFanfare},
    };
    const std::filesystem::path dir = argv[1];
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    try {
        for (const auto& [name, make] : files)
            if (!WriteFile(dir / name, make())) return 1;
    } catch (const std::exception& e) { // a mistake in a note list
        std::fprintf(stderr, "vexaro-gen-sounds: %s\n", e.what());
        return 1;
    }
    return 0;
}
