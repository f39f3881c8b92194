// vexaro-rounds: the round file tool.
//
//   vexaro-rounds compile SRC.txt OUT.dat.rnd   text form to a round file
//   vexaro-rounds dump FILE.dat.rnd             a round file as text (compiles back to its bytes)
//   vexaro-rounds check FILE.dat.rnd...         the game's own check, one line per fault
//   vexaro-rounds preview FILE.dat.rnd OUT.png [REPLAY.txt]
//                                               the stage as the game builds it, all of it;
//                                               with a replay, the ship's way drawn over it
//   vexaro-rounds stats FILE.dat.rnd [REPLAY.txt] [--row] [--header]
//                                               the round's figures and, with a replay, those
//                                               of its flight; --row prints them as a row of
//                                               the table in docs/rounds/README.md, --header
//                                               the table's head before it
#include "core/game_state.h"
#include "display/fmain.h"
#include "platform/assets.h"
#include "platform/backend.h"
#include "platform/compose.h"
#include "stage/round_file.h"
#include "tools/replay_search/pilot_rules.h"
#include "tools/rounds/round_stats.h"
#include "tools/rounds/round_text.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace {

int Usage() {
    std::cerr << "usage: vexaro-rounds compile SRC.txt OUT.dat.rnd\n"
                 "       vexaro-rounds dump FILE.dat.rnd\n"
                 "       vexaro-rounds check FILE.dat.rnd...\n"
                 "       vexaro-rounds preview FILE.dat.rnd OUT.png [REPLAY.txt]\n"
                 "       vexaro-rounds stats FILE.dat.rnd [REPLAY.txt] [--row] [--header]\n";
    return 2;
}

bool ReadBytes(const std::string& path, std::vector<std::uint8_t>& bytes) {
    std::string text;
    if (!ReadFile(path, text)) return false;
    bytes.assign(text.begin(), text.end());
    return true;
}

int Compile(const std::string& source, const std::string& target) {
    std::string text, error;
    if (!ReadFile(source, text)) {
        std::cerr << source << ": cannot read\n";
        return 1;
    }
    std::vector<std::uint8_t> bytes;
    if (!CompileRoundText(text, bytes, error)) {
        std::cerr << source << ":" << error << "\n";
        return 1;
    }
    // Written beside the target and renamed, so a failed write leaves no half file.
    const std::string partial = target + ".part";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        if (!out) {
            std::cerr << target << ": cannot write\n";
            std::filesystem::remove(partial);
            return 1;
        }
    }
    std::error_code renameError;
    std::filesystem::rename(partial, target, renameError);
    if (renameError) {
        std::cerr << target << ": cannot write\n";
        return 1;
    }
    return 0;
}

int Dump(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    if (!ReadBytes(path, bytes)) {
        std::cerr << path << ": cannot read\n";
        return 1;
    }
    std::cout << DumpRoundText(bytes);
    return 0;
}

int Check(const std::vector<std::string>& paths) {
    int status = 0;
    for (const std::string& path : paths) {
        std::vector<std::uint8_t> bytes;
        std::vector<std::string> faults;
        if (!ReadBytes(path, bytes))
            faults.push_back("読み込めません");
        else
            faults = CheckRoundFile(bytes);
        for (const std::string& fault : faults)
            std::cout << path << ": " << fault << "\n";
        if (!faults.empty()) status = 1;
    }
    return status;
}

struct Point {
    int x, y;
};

// Shows the whole playfield as built, with the range frame, the ship's starting place and the
// way it flew, a yellow dot for every frame.
bool WritePreview(const std::string& target, const std::vector<Point>& route) {
    FMain& f = fMain();
    f.pScreen.move(0, 0);
    f.pScreen.show();
    f.sRange.show();
    f.iRocket.show();
    platform::FrameBuffer frame;
    frame.width = platform::TwipsToPixels(f.pScreen.width(), platform::g_twipsX);
    frame.height = platform::TwipsToPixels(f.pScreen.height(), platform::g_twipsY);
    frame.pixels.assign(std::size_t(frame.width) * frame.height, 0);
    platform::ComposeBox(f.pScreen, 0, 0, {0, 0, frame.width, frame.height}, frame);
    // Dots four pixels wide, so that the way still shows when the picture is scaled down.
    for (const Point& p : route)
        for (int dy = -1; dy < 3; ++dy)
            for (int dx = -1; dx < 3; ++dx)
                if (p.x + dx >= 0 && p.y + dy >= 0 && p.x + dx < frame.width &&
                    p.y + dy < frame.height)
                    frame.at(p.x + dx, p.y + dy) = 0xFFE040;
    return platform::WritePng(frame.toSurface(), target);
}

// The ship's centre at every frame of the replay.
bool FlownRoute(const std::vector<std::uint8_t>& bytes, const std::string& path, int round,
                std::vector<Point>& route) {
    std::string replay, error;
    if (!ReadFile(path, replay)) {
        std::cerr << path << ": cannot read\n";
        return false;
    }
    const auto onFrame = [&route](long long) {
        const replay::PixelBox ship = replay::ShipBox();
        route.push_back({ship.left + 16, ship.top + 16});
    };
    if (!PlayReplayOnRound({bytes.begin(), bytes.end()}, round, replay, platform::ExecutableDir(),
                           onFrame, error)) {
        std::cerr << error << "\n";
        return false;
    }
    return true;
}

int Preview(const std::string& path, const std::string& target, const std::string& replay) {
    std::vector<std::uint8_t> bytes;
    if (!ReadBytes(path, bytes)) {
        std::cerr << path << ": cannot read\n";
        return 1;
    }
    RoundFileContents contents;
    std::string fault;
    if (!ReadRoundFile(bytes, contents, fault)) {
        std::cout << path << ": " << fault << "\n";
        return 1;
    }
    std::vector<Point> route;
    if (!replay.empty() && !FlownRoute(bytes, replay, RoundOfFileName(path), route)) return 1;
    bool written = false;
    OnBuiltStage(contents, [&] { written = WritePreview(target, route); });
    if (!written) std::cerr << target << ": cannot write\n";
    return written ? 0 : 1;
}

int Stats(std::vector<std::string> args) {
    const auto flag = [&args](const char* name) {
        const auto at = std::find(args.begin(), args.end(), name);
        if (at == args.end()) return false;
        args.erase(at);
        return true;
    };
    const bool asRow = flag("--row");
    const bool withHeader = flag("--header");
    if (args.empty() || args.size() > 2) return Usage();
    RoundFigures figures;
    std::string error;
    if (!MeasureRound(args[0], args.size() == 2 ? args[1] : "", platform::ExecutableDir(), figures,
                      error)) {
        std::cerr << error << "\n";
        return 1;
    }
    if (withHeader) std::cout << FiguresTableHeader() << "\n";
    std::cout << (asRow ? FiguresTableRow(figures) + "\n" : DescribeFigures(figures));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 3 && args[0] == "compile") return Compile(args[1], args[2]);
    if (args.size() == 2 && args[0] == "dump") return Dump(args[1]);
    if (args.size() >= 2 && args[0] == "check") return Check({args.begin() + 1, args.end()});
    if ((args.size() == 3 || args.size() == 4) && args[0] == "preview")
        return Preview(args[1], args[2], args.size() == 4 ? args[3] : "");
    if (!args.empty() && args[0] == "stats") return Stats({args.begin() + 1, args.end()});
    return Usage();
}
