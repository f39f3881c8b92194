#include "art.h"

namespace art {

namespace {

std::string Numbered(const char* stem, int n) {
    return stem + std::to_string(n) + ".png";
}

} // namespace

std::vector<Artwork> AllArtwork() {
    std::vector<Artwork> all;
    for (int pose = 0; pose < 3; ++pose)
        all.push_back({Numbered("ship", pose), ShipIcon(pose), true});
    for (int way = 0; way < 3; ++way)
        all.push_back({Numbered("flame", way), FlameIcon(way), true});
    all.push_back({"explode0.png", FireBurst(), true});
    all.push_back({"explode1.png", SmokeCloud(), true});
    all.push_back({"handCursor.png", HandCursor(), true});
    all.push_back({"pEnemy0.png", EnemyBlock(), false});
    all.push_back({"pEnergy0.png", TemplateIcon(CapsuleFigure()), false});
    all.push_back({"pResq0.png", TemplateIcon(Astronaut()), false});
    all.push_back({"pEnergyDat.png", TwoPartSheet(CapsuleFigure()), false});
    all.push_back({"pResqDat.png", TwoPartSheet(Astronaut()), false});
    all.push_back({"pMask.png", ShadeMask(), false});
    all.push_back({"pRockDat.png", RockTiles(), false});
    all.push_back({"pGoal.png", GoalPad(), false});
    all.push_back({"pFunsha.png", GaugeStrip("OUTPUT DEVICE"), false});
    all.push_back({"pLast.png", GaugeStrip("FUEL"), false});
    for (int i = 0; i < 3; ++i)
        all.push_back({Numbered("pCount", i), CountDigit(i + 1), false});
    for (int i = 0; i < 6; ++i)
        all.push_back({Numbered("pMsg", i), Banner(i), false});
    all.push_back({"pTitle.png", TitlePicture(), false});
    all.push_back({"panelTitle.png", PanelTitle(), false});
    all.push_back({"aboutLogo.png", AboutLogo(), true});
    all.push_back({"pEnding.png", EndingScene(), false});
    all.push_back({"imgEnding.png", EndingCredits(), true});
    return all;
}

} // namespace art
