// Building a stage headless.
//
// First the hostile round files: files that the round check may accept, made to cost as much
// as a file can. Each is loaded in a fresh process of its own (this program started again with
// --case), so that the peak memory is that one load's, with a wall-clock and an address-space
// limit so that a file that runs away is stopped rather than taking the machine. For each the
// table gives whether it was built or refused, the time LoadRound took, the process's peak
// resident memory, and for the open worst case the cost of a frame: the game's own work
// (FlyFrame) and the composition of the window that the desktop build adds to it.
//
// Then the ordinary rounds (Google Benchmark): a round of 60 x 40 cells and one of 215 x 219 (its
// playfield, margins included, fills the grid), each with stars, walls, decorative tiles,
// capsules, people and enemies.
//
//   vexaro-bench-stage [--no-hostile | --hostile-only] [--case-seconds S] [--case-megabytes M]
//                      [benchmark options]
#include "core/flight.h"
#include "core/main.h"
#include "display/fmain.h"
#include "events/gauges.h"
#include "platform/headless/headless.h"
#include "platform/trace.h"
#include "stage/round_file.h"
#include "stage/stage.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

RoundRecord Rec(const char* keyword, std::array<std::int32_t, 8> params) {
    RoundRecord r;
    r.Keyword = keyword;
    r.Param = params;
    return r;
}

// --- ordinary rounds ---------------------------------------------------------------------------

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

void WriteRound(const std::filesystem::path& folder, int n,
                const std::vector<RoundRecord>& records) {
    std::filesystem::create_directories(folder / "rnd_dat");
    const auto bytes = EncodeRoundFile(std::int32_t(records.size()), records);
    std::ofstream(folder / "rnd_dat" / ("R" + std::to_string(n) + ".dat.rnd"), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::filesystem::path FreshFolder(const std::string& what) {
    return std::filesystem::temp_directory_path() /
           ("vexaro-bench-stage-" + what + "-" + std::to_string(getpid()));
}

double PeakResidentMegabytes(const rusage& usage) {
    return double(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

void StartGame(const platform::headless::Options& options) {
    ResetProcessState();
    TwipsX = TwipsY = platform::g_twipsX;
    AppDir = options.appDir;
    ShowMainWindow();
}

void BuildRound(benchmark::State& state) {
    const int w = int(state.range(0)), h = int(state.range(1));
    const auto folder = FreshFolder("round");
    WriteRound(folder, 1, Round(w, h));
    platform::headless::Options options;
    options.appDir = folder.string() + "/";
    platform::headless::Run(options, [&] {
        StartGame(options);
        for (auto _ : state)
            LoadRound(1);
        state.counters["playfield_MB"] = double(fMain().pScreen.surface().storedBytes()) / 1e6;
        state.counters["sprites"] = double(fMain().pRock.Count() + fMain().pEnergy.Count() +
                                           fMain().pEnemy.Count() + fMain().pResq.Count() - 4);
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        state.counters["peak_rss_MB"] = PeakResidentMegabytes(usage);
        platform::EndProcess(0);
    });
    std::filesystem::remove_all(folder);
}

BENCHMARK(BuildRound)->Args({60, 40})->Unit(benchmark::kMillisecond);
BENCHMARK(BuildRound)->Args({215, 219})->Unit(benchmark::kMillisecond);

// --- hostile files -------------------------------------------------------------------------------

// The range every file below is laid out on: the largest whose playfield, margins included, lies
// on the grid (a range may be larger, up to 224 x 226, its margins then reaching past the grid).
constexpr int kW = 215, kH = 219;
constexpr int kManySprites = 32767;

// The three kinds of small sprites, one of each per cell from the range's top-left corner on,
// row by row; the enemies take turns through the five kinds.
void AddSprites(std::vector<RoundRecord>& records) {
    for (int i = 0; i < kManySprites; ++i)
        records.push_back(Rec("ENERGY", {i % kW, i / kW}));
    for (int i = 0; i < kManySprites; ++i)
        records.push_back(Rec("RESQ", {i % kW, i / kW}));
    static const char* const kEnemies[] = {"ENEMY1", "ENEMY2", "ENEMY3", "ENEMY4", "ENEMY5"};
    for (int i = 0; i < kManySprites; ++i)
        records.push_back(Rec(kEnemies[i % 5], {i % kW, i / kW, i % 2 ? 1 : i % 4, 2}));
}

std::vector<RoundRecord> Range() {
    return {Rec("ROUNDRANGE", {kW, kH, 0x200000, -1, 120}), Rec("MYSHIP", {kW / 2, kH / 2}),
            Rec("GOAL", {kW / 2, kH - 1})};
}

// Every cell a 1 x 1 shaded box, as many cells as a round may have rocks a 1 x 1 rock, and
// 32,767 each of capsules, people and enemies.
std::vector<RoundRecord> FilledRange() {
    auto records = Range();
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            records.push_back(Rec("BMPBOX", {x, y, x, y, 1 + (x + y) % 6, -1}));
    for (int i = 0; i < kManySprites - 1; ++i) // the ground block is a rock too
        records.push_back(Rec("ROCK", {i % kW, i / kW, i % kW, i / kW, 1 + i % 6}));
    AddSprites(records);
    return records;
}

// 32,767 each of capsules, people and enemies in an open range.
std::vector<RoundRecord> OpenRange() {
    auto records = Range();
    AddSprites(records);
    return records;
}

// As many rocks as a round may have, each covering every cell of the grid.
std::vector<RoundRecord> GridRocks() {
    auto records = Range();
    for (int i = 0; i < kManySprites - 1; ++i)
        records.push_back(Rec("ROCK", {-9, -7, 223, 225, 1 + i % 6}));
    return records;
}

// As many shaded boxes as fit in the largest round file, each covering every cell of the grid:
// painted over the stage of the round before, since there is no room for a range.
std::vector<RoundRecord> GridBoxes() {
    const std::size_t record = 2 + 6 + 32;
    std::vector<RoundRecord> records((kMaxRoundFileBytes - 4) / record,
                                     Rec("BMPBOX", {-9, -7, 223, 225, 4, -1}));
    for (std::size_t i = 0; i < records.size(); ++i)
        records[i].Param[4] = std::int32_t(1 + i % 6);
    return records;
}

// As many boxes again, each leaving the grid's last column: every row keeps a cell that no box
// covers, so that working out which cells stay to be seen looks at every row of every box.
std::vector<RoundRecord> GridBoxesButAColumn() {
    auto records = GridBoxes();
    for (RoundRecord& r : records)
        r.Param[2] = 222;
    return records;
}

// As much as the budget allows: 63 ranges with stars, each followed by a capsule that keeps a
// picture of it, then 25,000 enemies.
std::vector<RoundRecord> AtTheBudget() {
    std::vector<RoundRecord> records;
    for (int i = 0; i < 63; ++i) {
        records.push_back(Rec("ROUNDRANGE", {kW, kH, 0x200000, -1, 120}));
        records.push_back(Rec("ENERGY", {i, i}));
    }
    for (int i = 0; i < 25000; ++i)
        records.push_back(Rec("ENEMY1", {i % kW, i / kW, 1, 2}));
    records.push_back(Rec("MYSHIP", {kW / 2, kH / 2}));
    return records;
}

// As many ranges with stars as a round may have, each followed by a capsule that keeps its
// picture.
std::vector<RoundRecord> ManyRanges() {
    std::vector<RoundRecord> records;
    for (int i = 0; i < kManySprites; ++i) {
        records.push_back(Rec("ROUNDRANGE", {kW, kH, 0x200000, -1, 120}));
        records.push_back(Rec("ENERGY", {i % kW, i % kH}));
    }
    return records;
}

struct HostileCase {
    const char* name;
    const char* what;
    std::vector<RoundRecord> (*records)();
    bool overStage; // loaded over the stage of an open 215 x 219 range
};

const HostileCase kCases[] = {
    {"filled", "215x219 cell by cell: 1x1 rocks, shaded boxes, 32767 each sprite", FilledRange,
     false},
    {"open", "215x219 open range, 32767 each of capsules, people, enemies", OpenRange, false},
    {"grid-rocks", "32766 rocks each covering the whole grid", GridRocks, false},
    {"grid-boxes", "419430 shaded boxes each covering the whole grid", GridBoxes, true},
    {"boxes-edge", "419430 shaded boxes each covering all but the grid's last column",
     GridBoxesButAColumn, true},
    {"budget", "63 starred ranges each with a capsule, 25000 enemies", AtTheBudget, false},
    {"many-ranges", "32767 starred ranges, each with a capsule", ManyRanges, false},
};

double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

double WallSeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

// Frames in the loaded stage with the ship held where the round put it, so that every frame
// does the same work: the game's frame, then the window composed as the desktop shows it.
void MeasureFrames(int frames) {
    FMain& f = fMain();
    PrepareRoundView();
    const float left = f.iRocket.left(), top = f.iRocket.top();
    platform::FrameBuffer frame;
    double flyCpu = 0, composeCpu = 0;
    for (int i = 0; i < frames; ++i) {
        GameMode = kFlying;
        ShipVX = ShipVY = 0;
        f.iRocket.move(left, top);
        const double t0 = CpuSeconds();
        FlyFrame();
        const double t1 = CpuSeconds();
        platform::ComposeWindow(f.form, frame);
        const double t2 = CpuSeconds();
        flyCpu += t1 - t0;
        composeCpu += t2 - t1;
    }
    std::printf("frame_ms=%.3f compose_ms=%.3f\n", 1e3 * flyCpu / frames,
                1e3 * composeCpu / frames);
}

// In the child: builds the case's file, loads it once and reports.
int RunCase(const HostileCase& c) {
    const auto folder = FreshFolder(c.name);
    WriteRound(folder, 1, c.records());
    WriteRound(folder, 2, Range());
    std::printf("file_MB=%.2f\n",
                double(std::filesystem::file_size(folder / "rnd_dat" / "R1.dat.rnd")) / 1e6);
    std::fflush(stdout);
    platform::headless::Options options;
    options.appDir = folder.string() + "/";
    bool refused = false;
    options.traceLine = [&refused](const std::string& line) {
        if (platform::TraceIs(line, "load") && line.find("\"ok\":false") != std::string::npos)
            refused = true;
    };
    platform::headless::Run(options, [&] {
        StartGame(options);
        if (c.overStage) LoadRound(2);
        const double wall = WallSeconds(), cpu = CpuSeconds();
        LoadRound(1);
        std::printf("outcome=%s load_s=%.3f load_cpu_s=%.3f\n", refused ? "refused" : "built",
                    WallSeconds() - wall, CpuSeconds() - cpu);
        std::fflush(stdout);
        if (!refused) MeasureFrames(200);
        platform::EndProcess(0);
    });
    std::filesystem::remove_all(folder);
    return 0;
}

std::string ReadAll(int fd) {
    std::string out;
    char buffer[4096];
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;)
        out.append(buffer, std::size_t(n));
    return out;
}

std::string Field(const std::string& report, const std::string& key, const char* missing) {
    const auto at = report.find(key + "=");
    if (at == std::string::npos) return missing;
    const auto from = at + key.size() + 1;
    return report.substr(from, report.find_first_of(" \n", from) - from);
}

// Runs one case in a process of its own, stopped after `seconds` or past `megabytes` of
// address space, and prints its line of the table.
void RunCaseProcess(const char* self, const HostileCase& c, int seconds, long megabytes) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return;
    const pid_t child = fork();
    if (child == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        close(pipeFds[0]);
        close(pipeFds[1]);
        const rlimit space{rlim_t(megabytes) << 20, rlim_t(megabytes) << 20};
        setrlimit(RLIMIT_AS, &space);
        alarm(unsigned(seconds));
        execl(self, self, "--case", c.name, static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeFds[1]);
    const double started = WallSeconds();
    const std::string report = ReadAll(pipeFds[0]);
    close(pipeFds[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    const double elapsed = WallSeconds() - started;

    std::string outcome = Field(report, "outcome", "?");
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM)
        outcome = "stopped after " + std::to_string(seconds) + " s";
    else if (WIFSIGNALED(status) || (WIFEXITED(status) && WEXITSTATUS(status) != 0))
        outcome = "failed (memory limit " + std::to_string(megabytes) + " MB?)";
    std::printf("%-12s %-8s %8s %9s %8.0f %9s %9s %7.1f  %s\n", c.name, outcome.c_str(),
                Field(report, "load_s", "-").c_str(), Field(report, "load_cpu_s", "-").c_str(),
                PeakResidentMegabytes(usage), Field(report, "frame_ms", "-").c_str(),
                Field(report, "compose_ms", "-").c_str(), elapsed, c.what);
    if (outcome.size() > 8) std::printf("%12s %s\n", "", outcome.c_str());
    std::fflush(stdout);
}

void RunHostileCases(const char* self, int seconds, long megabytes) {
    std::printf("Hostile round files, each loaded in a process of its own (limits: %d s, %ld MB "
                "of address space)\n",
                seconds, megabytes);
    std::printf("%-12s %-8s %8s %9s %8s %9s %9s %7s  %s\n", "case", "outcome", "load_s", "load_cpu",
                "peak_MB", "frame_ms", "compose", "total_s", "file");
    for (const HostileCase& c : kCases)
        RunCaseProcess(self, c, seconds, megabytes);
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv) {
    bool hostile = true, others = true;
    int seconds = 60;
    long megabytes = 4096;
    std::vector<char*> rest = {argv[0]};
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--case" && i + 1 < argc) {
            const std::string name = argv[++i];
            for (const HostileCase& c : kCases)
                if (name == c.name) return RunCase(c);
            std::fprintf(stderr, "no case %s\n", name.c_str());
            return 2;
        }
        if (arg == "--no-hostile")
            hostile = false;
        else if (arg == "--hostile-only")
            others = false;
        else if (arg == "--case-seconds" && i + 1 < argc)
            seconds = std::atoi(argv[++i]);
        else if (arg == "--case-megabytes" && i + 1 < argc)
            megabytes = std::atol(argv[++i]);
        else
            rest.push_back(argv[i]);
    }
    if (hostile) RunHostileCases("/proc/self/exe", seconds, megabytes);
    if (!others) return 0;
    int restCount = int(rest.size());
    benchmark::Initialize(&restCount, rest.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
