#include "tools/replay_search/beam_search.h"

#include "core/flight.h"
#include "core/twips.h"
#include "display/fmain.h"
#include "display/hit_test.h"
#include "tools/replay_search/distance_field.h"
#include "tools/replay_search/flight_snapshot.h"
#include "tools/replay_search/pilot_rules.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <unordered_set>

namespace replay {

namespace {

constexpr std::uint8_t kChoices[6] = {
    0, kKeyLeft, kKeyRight, kKeySpace, kKeySpace | kKeyLeft, kKeySpace | kKeyRight};

// The ship's centre on the playfield, in pixels.
double CentreX() {
    const FMain& f = fMain();
    return double(f.iRocket.left() + HalfOf(f.iRocket.width())) / TwipsX;
}
double CentreY() {
    const FMain& f = fMain();
    return double(f.iRocket.top() + HalfOf(f.iRocket.height())) / TwipsY;
}

// One waypoint made ready: its target on the playfield, its distance field and, for a pick-up,
// the sprite that disappears when it is taken.
struct Target {
    Waypoint way;
    double x = 0, y = 0;
    const platform::PictureBox* sprite = nullptr;
    std::unique_ptr<DistanceField> field;
    double after = 0; // length of the route from this target on
};

const platform::PictureBox* SpriteOnCell(ControlArray<platform::PictureBox>& sprites, double x,
                                         double y) {
    for (int i = 1; i < sprites.Count(); ++i) {
        const PixelBox b = BoxOf(sprites[i]);
        if (x >= b.left && x < b.left + b.width && y >= b.top && y < b.top + b.height)
            return &sprites[i];
    }
    return nullptr;
}

class Search {
  public:
    Search(const Plan& plan, int maxFrames, bool verbose)
        : plan_(plan), maxFrames_(maxFrames), verbose_(verbose) {}
    SearchResult Run();

  private:
    struct Node {
        FlightSnapshot state;
        int target = 0;
        int history = -1; // index into history_
        double score = 0;
    };
    struct Step {
        int parent;
        std::uint8_t keys;
        std::uint8_t frames;
    };

    bool PrepareTargets(std::string& error);
    bool Reached(const Target& t) const;
    bool Fair() const;
    bool CanStop(int target) const;
    double Score(int target) const;
    std::uint64_t Key(const Node& n) const;
    std::vector<std::uint8_t> KeysOf(int history) const;

    const Plan& plan_;
    int maxFrames_;
    bool verbose_;
    std::unique_ptr<OpenMap> flightMap_, landingMap_;
    std::vector<Target> targets_;
    std::vector<Step> history_;
    PixelBox pad_;
};

bool Search::PrepareTargets(std::string& error) {
    FMain& f = fMain();
    pad_ = BoxOf(f.pGoal);
    const int width = PixelsX(f.pScreen.width()), height = PixelsY(f.pScreen.height());
    // Where the ship's centre may be: by the rules' distance from rock and from the loose
    // blocks, which hang still until the ship comes below them, and off the pad but for the
    // landing.
    std::vector<PixelBox> blocks;
    for (Long i = 0; i < EnemyCount; ++i)
        if (Enemies[std::size_t(i)].Kind == 5)
            blocks.push_back(BoxOf(f.pEnemy[Enemies[std::size_t(i)].Sprite]));
    const auto openMap = [&](bool padOpen) {
        return std::make_unique<OpenMap>(width, height, [&, padOpen](int x, int y) {
            const PixelBox box{x - 16, y - 16, 32, 32};
            const double need = NeededGap(box, plan_.margin);
            for (const PixelBox& block : blocks)
                if (BoxGap(box, block) < need) return false;
            return RockGap(box, need) >= need && (padOpen || BoxGap(box, pad_) >= 1);
        });
    };
    flightMap_ = openMap(false);
    landingMap_ = openMap(true);
    for (const Waypoint& w : plan_.waypoints) {
        Target t;
        t.way = w;
        std::vector<DistanceField::Seed> seeds;
        if (w.kind == Waypoint::Kind::Land) {
            t.x = pad_.left + pad_.width / 2.0;
            t.y = pad_.top - 20;
            for (int dx = -12; dx <= 12; dx += 4)
                seeds.push_back({t.x + dx, t.y, 0});
        } else {
            t.x = (9 + w.cellX) * 32 + 16;
            t.y = (7 + w.cellY) * 32 + 16;
            if (w.kind == Waypoint::Kind::Take) {
                t.sprite = SpriteOnCell(f.pEnergy, t.x, t.y);
                if (!t.sprite) t.sprite = SpriteOnCell(f.pResq, t.x, t.y);
                if (!t.sprite) {
                    error = "line " + std::to_string(w.line) + ": nothing to take there";
                    return false;
                }
            }
            const double reach = w.kind == Waypoint::Kind::Take ? 36 : w.radius;
            for (double dy = -reach; dy <= reach; dy += 4)
                for (double dx = -reach; dx <= reach; dx += 4)
                    if (std::hypot(dx, dy) <= reach) seeds.push_back({t.x + dx, t.y + dy, 0});
        }
        t.field = std::make_unique<DistanceField>(w.kind == Waypoint::Kind::Land ? *landingMap_
                                                                                 : *flightMap_);
        t.field->Solve(seeds);
        targets_.push_back(std::move(t));
    }
    // The route's remaining length from each target to the pad.
    for (int i = int(targets_.size()) - 2; i >= 0; --i) {
        const double leg = targets_[i + 1].field->Around(targets_[i].x, targets_[i].y, 40);
        if (leg == DistanceField::kUnreachable) {
            error = "line " + std::to_string(targets_[i + 1].way.line) +
                    ": no way there from the waypoint before it";
            return false;
        }
        targets_[i].after = leg + targets_[i + 1].after;
    }
    if (targets_.front().field->At(CentreX(), CentreY()) == DistanceField::kUnreachable) {
        error = "no way from the ship's start to the first waypoint";
        return false;
    }
    return true;
}

bool Search::Reached(const Target& t) const {
    switch (t.way.kind) {
    case Waypoint::Kind::Take:
        return !t.sprite->visible();
    case Waypoint::Kind::Land:
        return false;
    case Waypoint::Kind::Via:
        break;
    }
    const double speed = std::hypot(double(ShipVX), double(ShipVY));
    return std::hypot(CentreX() - t.x, CentreY() - t.y) <= t.way.radius && speed <= t.way.maxSpeed;
}

// A frame a player could have flown: the rules' distance kept, and no faster than the plan's
// cruising pace on either axis.
bool Search::Fair() const {
    return std::abs(ShipVX) <= plan_.speed && std::abs(ShipVY) <= plan_.speed &&
           KeepsDistance(plan_.margin);
}

// Whether the ship, braking on both axes from now on, would come to rest without passing a
// place too close to rock: keeps the beam free of flights that are already lost.
bool Search::CanStop(int target) const {
    const double vx = ShipVX, vy = ShipVY;
    // Twips: a side engine takes 1 twip per frame off, the main engine 2 from a fall, gravity 1
    // from a climb.
    const double stopX = (vx * std::abs(vx) + vx) / 2 / TwipsX;
    const double stopY = (vy > 0 ? (vy * vy + vy) / 4 : (vy * std::abs(vy) + vy) / 2) / TwipsY;
    const double length = std::hypot(stopX, stopY);
    const int samples = int(length / DistanceField::kStep);
    const DistanceField& field = *targets_[std::size_t(target)].field;
    const double x = CentreX(), y = CentreY();
    for (int k = 1; k <= samples; ++k) {
        const double f = double(k) / samples;
        if (!field.Open(x + f * stopX, y + f * stopY)) return false;
    }
    return true;
}

double Search::Score(int target) const {
    const Target& t = targets_[std::size_t(target)];
    const double x = CentreX(), y = CentreY();
    double score = t.field->At(x, y) + t.after;
    const double near = std::hypot(x - t.x, y - t.y);
    if (t.way.kind == Waypoint::Kind::Land && near < 160) {
        // Come down on the pad slowly and upright.
        score += 2.0 * std::max(0, ShipVY - 20) + 1.0 * std::max(0, std::abs(ShipVX) - 6);
    } else if (t.way.kind == Waypoint::Kind::Via && t.way.maxSpeed < 1e8 &&
               near < 4 * t.way.radius) {
        score += std::max(0.0, std::hypot(double(ShipVX), double(ShipVY)) - t.way.maxSpeed);
    }
    return score;
}

std::uint64_t Search::Key(const Node& n) const {
    const auto cell = [](double v, double size) {
        return std::uint64_t(std::int64_t(std::floor(v / size)) & 0xFFF);
    };
    const FlightSnapshot& s = n.state;
    const double x = s.shipLeft / TwipsX, y = s.shipTop / TwipsY;
    return (std::uint64_t(n.target) << 56) | (cell(x, 6) << 44) | (cell(y, 6) << 32) |
           (cell(s.shipVX, 6) << 20) | (cell(s.shipVY, 6) << 8) |
           std::uint64_t(s.rescuedCount & 0xFF);
}

std::vector<std::uint8_t> Search::KeysOf(int history) const {
    std::vector<std::uint8_t> keys;
    for (int h = history; h >= 0; h = history_[std::size_t(h)].parent)
        for (int i = 0; i < history_[std::size_t(h)].frames; ++i)
            keys.push_back(history_[std::size_t(h)].keys);
    std::reverse(keys.begin(), keys.end());
    return keys;
}

SearchResult Search::Run() {
    SearchResult result;
    if (!PrepareTargets(result.note)) return result;
    const int last = int(targets_.size()) - 1;
    std::vector<Node> beam(1);
    beam[0].state = CaptureFlight();
    double best = 1e18;
    for (int frame = 0; frame < maxFrames_; frame += plan_.hold) {
        std::vector<Node> next;
        for (const Node& node : beam) {
            for (std::uint8_t keys : kChoices) {
                if (frame == 0 && !(keys & kKeySpace)) continue;
                RestoreFlight(node.state);
                int target = node.target;
                int flown = 0;
                bool alive = true, landed = false;
                for (; flown < plan_.hold; ++flown) {
                    HoldKeys(keys);
                    FlyFrame();
                    if (GameMode == kRoundCleared) {
                        landed = target == last && ShipVY <= kMaxTouchdownSpeed;
                        alive = landed;
                        // The keys stay as they are to the end of the hold, after the
                        // touchdown: the last key state lasts as long as any other.
                        flown = plan_.hold;
                        break;
                    }
                    if (GameMode != kFlying || !Fair()) {
                        alive = false;
                        break;
                    }
                    while (target < last && Reached(targets_[std::size_t(target)]))
                        ++target;
                }
                if (!alive || (!landed && !CanStop(target))) continue;
                history_.push_back({node.history, keys, std::uint8_t(flown)});
                if (landed) {
                    result.found = true;
                    result.keys = KeysOf(int(history_.size()) - 1);
                    return result;
                }
                Node child;
                child.target = target;
                child.history = int(history_.size()) - 1;
                child.score = Score(target);
                if (child.score == DistanceField::kUnreachable) continue;
                child.state = CaptureFlight();
                next.push_back(std::move(child));
            }
        }
        if (next.empty()) {
            result.note = "every flight crashed by frame " + std::to_string(frame) +
                          " (best distance to go " + std::to_string(int(best)) + " px)";
            return result;
        }
        std::sort(next.begin(), next.end(),
                  [](const Node& a, const Node& b) { return a.score < b.score; });
        beam.clear();
        std::unordered_set<std::uint64_t> seen;
        for (Node& n : next) {
            if (int(beam.size()) >= plan_.beam) break;
            if (!seen.insert(Key(n)).second) continue;
            beam.push_back(std::move(n));
        }
        best = beam.front().score;
        if (verbose_ && (frame / plan_.hold) % 50 == 0)
            std::fprintf(stderr,
                         "frame %5d: %zu states, waypoint %d, %.0f px to go, ship at (%.0f, "
                         "%.0f) moving (%d, %d)\n",
                         frame, beam.size(), beam.front().target, best,
                         beam.front().state.shipLeft / TwipsX + 16,
                         beam.front().state.shipTop / TwipsY + 16, int(beam.front().state.shipVX),
                         int(beam.front().state.shipVY));
    }
    result.note = "out of time (best distance to go " + std::to_string(int(best)) + " px)";
    return result;
}

} // namespace

SearchResult SearchFlight(const Plan& plan, int maxFrames, bool verbose) {
    Search search(plan, maxFrames, verbose);
    return search.Run();
}

} // namespace replay
