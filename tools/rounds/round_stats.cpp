#include "tools/rounds/round_stats.h"

#include "core/game_state.h"
#include "core/main.h"
#include "core/twips.h"
#include "display/fmain.h"
#include "platform/headless/headless.h"
#include "platform/trace.h"
#include "stage/round_file.h"
#include "stage/stage.h"
#include "tools/replay_search/pilot_rules.h"
#include "tools/replay_search/replay_script.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace replay;

namespace {

constexpr double kNearEnemy = 3 * 32; // pixels: "comes within 3 cells"
constexpr double kSight = 8 * 32;     // how far rock is looked for around the ship

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

} // namespace

bool ReadFile(const std::string& path, std::string& out) {
    std::error_code error;
    if (!fs::is_regular_file(path, error)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

int RoundOfFileName(const std::string& path) {
    // "R" + a number of one to four digits without a leading zero + ".dat.rnd"; anything else
    // is taken as round 1.
    const std::string name = fs::path(path).filename().string();
    const std::string suffix = ".dat.rnd";
    if (name.size() < 1 + 1 + suffix.size() || name[0] != 'R' || !name.ends_with(suffix)) return 1;
    const std::string digits = name.substr(1, name.size() - 1 - suffix.size());
    const bool number =
        digits.size() <= 4 && digits[0] != '0' &&
        std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
    return number ? std::stoi(digits) : 1;
}

namespace {

void CountRecords(const RoundFileContents& contents, RoundFigures& f) {
    const KeywordCounts counts = CountKeywords(contents.Records);
    f.rocks = int(counts[RoundKeyword::Rock]); // the range's ground block left out
    f.capsules = int(counts[RoundKeyword::Energy]);
    f.people = int(counts[RoundKeyword::Resq]);
    for (int k = 0; k < 5; ++k)
        f.enemies[k] = int(counts[RoundKeyword(int(RoundKeyword::Enemy1) + k)]);
    for (const RoundRecord& r : contents.Records)
        if (r.kind() == RoundKeyword::RoundRange) {
            f.width = r.Param[0];
            f.height = r.Param[1];
            f.allowance = r.Param[4];
        }
}

// The open span through a point along one axis, in pixels, from wall cell to wall cell.
double OpenSpan(int x, int y, bool across) {
    const int column = x / 32, row = y / 32;
    int low = across ? column : row, high = low;
    const auto wall = [&](int k) { return across ? WallCell(k, row) : WallCell(column, k); };
    if (wall(low)) return 0;
    while (!wall(low - 1))
        --low;
    while (!wall(high + 1))
        ++high;
    return 32.0 * (high - low + 1);
}

// Watches every frame of the flight and keeps the figures.
class FlightWatch {
  public:
    explicit FlightWatch(RoundFigures& f) : f_(f) {}

    void Frame(long long mode) {
        if (done_) return;
        FMain& fm = fMain();
        const PixelBox ship = ShipBox();
        const double cx = ship.left + 16.0, cy = ship.top + 16.0;
        if (f_.frames == 0)
            f_.padInView = InView(ship, BoxOf(fm.pGoal));
        else
            f_.route += std::hypot(cx - lastX_, cy - lastY_) / 32;
        lastX_ = cx;
        lastY_ = cy;
        ++f_.frames;

        const bool reaching = Reaching(ship);
        const double rock = RockGap(ship, kSight);
        double enemy = 1e9;
        near_.resize(std::size_t(EnemyCount)); // the watch is made before the stage is built
        for (Long i = 0; i < EnemyCount; ++i) {
            const double gap = EnemyGap(ship, i);
            enemy = std::min(enemy, gap);
            if (gap <= kNearEnemy) near_[std::size_t(i)] = true;
        }
        if (!reaching) {
            f_.clearance = std::min(f_.clearance, rock);
            f_.enemyClearance = std::min(f_.enemyClearance, enemy);
            f_.passage = std::min(
                f_.passage,
                std::min(OpenSpan(int(cx), int(cy), true), OpenSpan(int(cx), int(cy), false)) / 32);
        }
        if (!KeepsDistance(RockMargin(f_.round))) ++f_.framesBreakingRules;

        if (mode == kRoundCleared) {
            f_.cleared = true;
            f_.touchdownSpeed = ShipVY;
        }
        if (mode == kCrashed) f_.crashed = true;
        if (mode != kFlying) Finish();
    }

  private:
    static bool InView(const PixelBox& ship, const PixelBox& pad) {
        const FMain& fm = fMain();
        const int w = PixelsX(fm.pFrame.width()), h = PixelsY(fm.pFrame.height());
        const int left = ship.left + 16 - w / 2, top = ship.top + 16 - h / 2;
        return pad.left >= left && pad.top >= top && pad.left + pad.width <= left + w &&
               pad.top + pad.height <= top + h;
    }

    void Finish() {
        done_ = true;
        f_.enemiesNear = int(std::count(near_.begin(), near_.end(), true));
        const FMain& fm = fMain();
        for (int i = 1; i < fm.pEnergy.Count(); ++i)
            f_.capsulesTaken += !fm.pEnergy[i].visible();
        f_.peopleAboard = RescuedCount;
    }

    RoundFigures& f_;
    std::vector<bool> near_;
    double lastX_ = 0, lastY_ = 0;
    bool done_ = false;
};

} // namespace

bool PlayReplayOnRound(const std::string& roundBytes, int round, const std::string& replayText,
                       const std::string& gameDir,
                       const std::function<void(long long mode)>& onFrame, std::string& error) {
    // The game reads rounds from its folder: a folder of its own with this round in it, and the
    // sounds of the game's folder, whose lengths the game's waits depend on.
    static int runs = 0;
    const fs::path folder =
        fs::temp_directory_path() /
        ("vexaro-stats-" + std::to_string(::getpid()) + "-" + std::to_string(++runs));
    std::error_code fsError;
    fs::create_directories(folder / "rnd_dat", fsError);
    fs::create_directory_symlink(fs::path(gameDir) / "wav", folder / "wav", fsError);
    {
        std::ofstream out(folder / "rnd_dat" / ("R" + std::to_string(round) + ".dat.rnd"),
                          std::ios::binary);
        out << roundBytes;
        if (!out) {
            fs::remove_all(folder, fsError);
            error = folder.string() + ": cannot write";
            return false;
        }
    }

    const std::vector<std::string> script = Lines(replayText);
    platform::headless::Options options;
    options.appDir = folder.string() + "/";
    options.stopAfterTicks = StopTick(script);
    options.traceLine = [&](const std::string& line) {
        if (platform::TraceIs(line, "frame") && platform::TraceField(line, "round") == round)
            onFrame(platform::TraceField(line, "mode"));
    };
    std::string scriptError;
    const bool ran = RunScript(options, round, script, scriptError);
    fs::remove_all(folder, fsError);
    if (!ran) error = "replay: " + scriptError;
    return ran;
}

namespace {

bool FlyReplay(const std::string& roundBytes, const std::string& replayText,
               const std::string& gameDir, RoundFigures& f, std::string& error) {
    f.shortestKeyState = ShortestKeyState(Lines(replayText));
    FlightWatch watch(f);
    const auto onFrame = [&watch](long long mode) { watch.Frame(mode); };
    if (!PlayReplayOnRound(roundBytes, f.round, replayText, gameDir, onFrame, error)) return false;
    f.flown = true;
    return true;
}

std::string Fixed(double v, int decimals) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, v);
    return buffer;
}

std::string EnemyList(const RoundFigures& f) {
    static const char* const kNames[5][2] = {
        {"guard", "guards"},
        {"lift", "lifts"},
        {"clockwise sentry", "clockwise sentries"},
        {"counter-clockwise sentry", "counter-clockwise sentries"},
        {"loose block", "loose blocks"}};
    std::string list;
    for (int k = 0; k < 5; ++k) {
        if (!f.enemies[k]) continue;
        if (!list.empty()) list += ", ";
        list += std::to_string(f.enemies[k]) + " " + kNames[k][f.enemies[k] == 1 ? 0 : 1];
    }
    return list.empty() ? "none" : list;
}

} // namespace

void OnBuiltStage(const RoundFileContents& contents, const std::function<void()>& look) {
    platform::headless::Options options;
    platform::headless::Run(options, [&] {
        ResetProcessState();
        TwipsX = platform::g_twipsX;
        TwipsY = platform::g_twipsY;
        ShowMainWindow();
        BuildStage(contents);
        look();
        platform::EndProcess(0);
    });
}

int RoundFigures::enemyCount() const {
    int n = 0;
    for (int k : enemies)
        n += k;
    return n;
}

bool MeasureRound(const std::string& roundFile, const std::string& replay,
                  const std::string& gameDir, RoundFigures& out, std::string& error) {
    std::string bytes;
    if (!ReadFile(roundFile, bytes)) {
        error = roundFile + ": cannot read";
        return false;
    }
    RoundFileContents contents;
    std::string fault;
    if (!ReadRoundFile({bytes.begin(), bytes.end()}, contents, fault)) {
        error = roundFile + ": " + fault;
        return false;
    }
    out = RoundFigures{};
    out.round = RoundOfFileName(roundFile);
    CountRecords(contents, out);
    if (replay.empty()) return true;
    std::string replayText;
    if (!ReadFile(replay, replayText)) {
        error = replay + ": cannot read";
        return false;
    }
    return FlyReplay(bytes, replayText, gameDir, out, error);
}

std::string DescribeFigures(const RoundFigures& f) {
    std::ostringstream out;
    out << "round:              " << f.round << "\n"
        << "size:               " << f.width << " x " << f.height << " cells, " << f.rocks
        << " rocks\n"
        << "capsules:           " << f.capsules << "\n"
        << "people:             " << f.people << "\n"
        << "enemies:            " << EnemyList(f) << "\n"
        << "allowance:          " << f.allowance << " s\n";
    if (!f.flown) return out.str();
    out << "outcome:            "
        << (f.crashed   ? "crashed"
            : f.cleared ? "cleared"
                        : "not cleared")
        << "\n"
        << "flight time:        " << Fixed(f.flightSeconds(), 2) << " s (" << f.frames
        << " frames)\n"
        << "route length:       " << Fixed(f.route, 1) << " cells\n"
        << "narrowest clearance: " << Fixed(f.clearance, 0) << " px to rock, "
        << (f.enemyClearance < 1e8 ? Fixed(f.enemyClearance, 0) + " px to an enemy"
                                   : std::string("no enemy"))
        << "\n"
        << "narrowest passage:  " << Fixed(f.passage, 1) << " cells\n"
        << "enemies near:       " << f.enemiesNear << " (within 3 cells)\n"
        << "taken:              " << f.capsulesTaken << " capsules, " << f.peopleAboard
        << " people\n"
        << "allowance ratio:    " << Fixed(f.allowanceRatio(), 2) << " x flight time\n"
        << "touchdown speed:    " << f.touchdownSpeed << " twips per frame\n"
        << "shortest key state: " << f.shortestKeyState << " frames\n"
        << "frames too close:   " << f.framesBreakingRules << "\n"
        << "pad in view:        " << (f.padInView ? "yes" : "no") << "\n";
    return out.str();
}

std::string FiguresTableHeader() {
    return "| Round | Size | Route | Flight | Clearance | Passage | Enemies near | Capsules | "
           "People | Allowance | Ratio |\n"
           "|---|---|---|---|---|---|---|---|---|---|---|";
}

std::string FiguresTableRow(const RoundFigures& f) {
    return "| " + std::to_string(f.round) + " | " + std::to_string(f.width) + " × " +
           std::to_string(f.height) + " | " + Fixed(f.route, 0) + " cells | " +
           Fixed(f.flightSeconds(), 1) + " s | " + Fixed(f.clearance, 0) + " px | " +
           Fixed(f.passage, 1) + " cells | " + std::to_string(f.enemiesNear) + " of " +
           std::to_string(f.enemyCount()) + " | " + std::to_string(f.capsules) + " | " +
           std::to_string(f.people) + " | " + std::to_string(f.allowance) + " s | " +
           Fixed(f.allowanceRatio(), 2) + " |";
}
