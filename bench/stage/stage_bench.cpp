// Building a stage headless: a round of 60 x 40 cells, and the largest round the grid holds
// (215 x 219), each with stars, walls, decorative tiles, capsules, people and enemies. Reports the
// time per build and, as counters, what the playfield and the sprites store and the process's
// peak resident memory.
#include "core/main.h"
#include "display/fmain.h"
#include "platform/headless/headless.h"
#include "stage/round_file.h"
#include "stage/stage.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <unistd.h>

namespace {

RoundRecord Rec(const char* keyword, std::array<std::int32_t, 8> params) {
    RoundRecord r;
    r.Keyword = keyword;
    r.Param = params;
    return r;
}

// A walled range with a shaded band, a rock every few cells and some of everything else.
std::vector<RoundRecord> Round(int w, int h) {
    std::vector<RoundRecord> records = {Rec("ROUNDRANGE", {w, h, 0x200000, -1, 120}),
                                        Rec("BMPBOX", {1, 1, w - 2, 2, 5, -1}),
                                        Rec("ROCK", {0, 0, w - 1, 0, 1}),
                                        Rec("ROCK", {0, h - 1, w - 1, h - 1, 1}),
                                        Rec("ROCK", {0, 1, 0, h - 2, 1}),
                                        Rec("ROCK", {w - 1, 1, w - 1, h - 2, 1})};
    for (int y = 4; y < h - 2; y += 6)
        for (int x = 3; x < w - 3; x += 7) {
            records.push_back(Rec("ROCK", {x, y, x + 1, y, 2}));
            records.push_back(Rec((x + y) % 3 ? "ENERGY" : "RESQ", {x, y - 1}));
            records.push_back(Rec("ENEMY1", {x + 3, y + 2, 1, 2}));
        }
    records.push_back(Rec("MYSHIP", {2, 3}));
    records.push_back(Rec("GOAL", {w / 2, h - 2}));
    return records;
}

std::size_t SpriteBytes() {
    FMain& f = fMain();
    std::size_t bytes = 0;
    for (auto* array : {&f.pRock, &f.pEnergy, &f.pEnemy, &f.pResq})
        for (int i = 0; i < array->Count(); ++i)
            bytes += (*array)[i].surface().storedBytes();
    return bytes;
}

double PeakResidentMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

void BuildRound(benchmark::State& state) {
    const int w = int(state.range(0)), h = int(state.range(1));
    const auto folder =
        std::filesystem::temp_directory_path() / ("vexaro-bench-stage-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder / "rnd_dat");
    {
        const auto records = Round(w, h);
        const auto bytes = EncodeRoundFile(std::int32_t(records.size()), records);
        std::ofstream(folder / "rnd_dat" / "R1.dat.rnd", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    platform::headless::Options options;
    options.appDir = folder.string() + "/";
    platform::headless::Run(options, [&] {
        ResetProcessState();
        TwipsX = TwipsY = platform::g_twipsX;
        AppDir = options.appDir;
        ShowMainWindow();
        for (auto _ : state)
            LoadRound(1);
        state.counters["playfield_MB"] = double(fMain().pScreen.surface().storedBytes()) / 1e6;
        state.counters["sprites_MB"] = double(SpriteBytes()) / 1e6;
        state.counters["sprites"] = double(fMain().pRock.Count() + fMain().pEnergy.Count() +
                                           fMain().pEnemy.Count() + fMain().pResq.Count() - 4);
        state.counters["peak_rss_MB"] = PeakResidentMegabytes();
        platform::EndProcess(0);
    });
    std::filesystem::remove_all(folder);
}

BENCHMARK(BuildRound)->Args({60, 40})->Unit(benchmark::kMillisecond);
BENCHMARK(BuildRound)->Args({kMaxRangeWidth, kMaxRangeHeight})->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
