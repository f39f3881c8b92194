#include "tools/replay_search/plan_file.h"

#include "tools/replay_search/pilot_rules.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

namespace replay {

namespace {

// The settings of a plan: the word, the field it sets and its least value.
struct Setting {
    const char* word;
    int Plan::*field;
    int least;
};
constexpr Setting kSettings[] = {{"beam", &Plan::beam, 1},
                                 {"hold", &Plan::hold, kMinKeyFrames},
                                 {"margin", &Plan::margin, 0},
                                 {"speed", &Plan::speed, 1}};

bool ParseOption(const std::string& word, Waypoint& w) {
    try {
        if (word.rfind("r=", 0) == 0) {
            w.radius = std::stod(word.substr(2));
            return w.radius > 0;
        }
        if (word.rfind("v=", 0) == 0) {
            w.maxSpeed = std::stod(word.substr(2));
            return w.maxSpeed >= 0;
        }
    } catch (...) {
    }
    return false;
}

} // namespace

bool ReadPlan(const std::string& path, Plan& plan, std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = path + ": cannot read";
        return false;
    }
    std::string line;
    int number = 0;
    auto fail = [&](const std::string& what) {
        error = path + ":" + std::to_string(number) + ": " + what;
        return false;
    };
    while (std::getline(in, line)) {
        ++number;
        if (const auto hash = line.find('#'); hash != std::string::npos) line.resize(hash);
        std::istringstream words(line);
        std::string word;
        if (!(words >> word)) continue;
        if (!plan.waypoints.empty() && plan.waypoints.back().kind == Waypoint::Kind::Land)
            return fail("nothing may follow \"land\"");
        const auto setting = std::find_if(std::begin(kSettings), std::end(kSettings),
                                          [&word](const Setting& s) { return word == s.word; });
        if (setting != std::end(kSettings)) {
            int value = 0;
            if (!(words >> value) || value < setting->least)
                return fail(word + " needs a number of at least " + std::to_string(setting->least));
            plan.*setting->field = value;
            continue;
        }
        Waypoint w;
        w.line = number;
        if (word == "land") {
            w.kind = Waypoint::Kind::Land;
        } else if (word == "via" || word == "take") {
            w.kind = word == "via" ? Waypoint::Kind::Via : Waypoint::Kind::Take;
            if (!(words >> w.cellX >> w.cellY)) return fail(word + " needs a cell X Y");
            std::string option;
            while (words >> option)
                if (w.kind != Waypoint::Kind::Via || !ParseOption(option, w))
                    return fail("bad option \"" + option + "\"");
        } else {
            return fail("unknown word \"" + word + "\"");
        }
        plan.waypoints.push_back(w);
    }
    if (plan.waypoints.empty() || plan.waypoints.back().kind != Waypoint::Kind::Land)
        return fail("the route must end with \"land\"");
    return true;
}

} // namespace replay
