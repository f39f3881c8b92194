// The figures of a round and of a flight through it, for reading the difficulty curve: what the
// round holds, and what its replay asked of the pilot, measured frame by frame with the pilot's
// rules of the replay search.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct RoundFigures {
    // The round file.
    int round = 0; // the number the game loads it as (from the file name R<N>.dat.rnd)
    int width = 0, height = 0;
    int allowance = 0; // seconds
    int rocks = 0, capsules = 0, people = 0;
    int enemies[5] = {}; // by kind: guards, lifts, clockwise and counter-clockwise sentries, drops

    // The flight, when a replay was given.
    bool flown = false;
    bool cleared = false, crashed = false;
    int frames = 0;              // from the first frame to the touchdown, both included
    double route = 0;            // cells travelled by the ship's centre
    double clearance = 1e9;      // pixels from the ship's box to rock, least of the route
    double enemyClearance = 1e9; // pixels from the ship's box to an enemy, least of the route
    double passage = 1e9;        // cells: the narrowest open span across the ship's way
    int enemiesNear = 0;         // enemies that came within 3 cells of the ship's box
    int capsulesTaken = 0, peopleAboard = 0;
    int touchdownSpeed = 0;   // twips per frame
    int shortestKeyState = 0; // frames
    int framesBreakingRules = 0;
    bool padInView = false; // the pad on screen at the first frame

    double flightSeconds() const { return frames / 100.0; }
    double allowanceRatio() const { return frames ? allowance / flightSeconds() : 0; }
    int enemyCount() const;
};

// Reads the round file and, when `replay` is not empty, plays the replay on it in the headless
// game, with the sounds of the game in `gameDir` (their lengths time the game's waits). False
// with a message when a file cannot be read or is not a sound round.
bool MeasureRound(const std::string& roundFile, const std::string& replay,
                  const std::string& gameDir, RoundFigures& out, std::string& error);

// The figures as lines of "name: value" for a reader.
std::string DescribeFigures(const RoundFigures& f);
// One row of the figures table of docs/rounds/README.md, and its header.
std::string FiguresTableHeader();
std::string FiguresTableRow(const RoundFigures& f);

struct RoundFileContents;

// Runs `look` in the headless game with the stage built from the round's records, the window
// shown and the twips factors of the virtual screen, as a tool or a test wants to see it.
void OnBuiltStage(const RoundFileContents& contents, const std::function<void()>& look);

// A regular file read whole, as it is. False when it is not one or cannot be read.
bool ReadFile(const std::string& path, std::string& out);

// The round the game loads a file as: N of "R<N>.dat.rnd", else 1.
int RoundOfFileName(const std::string& path);

// Plays a replay in the headless game on the given round file bytes, loaded as round `round`,
// with the sounds of the game in `gameDir`;
// `onFrame` runs after every frame of that round with the frame's GameMode, while the stage
// is as the frame left it.
bool PlayReplayOnRound(const std::string& roundBytes, int round, const std::string& replayText,
                       const std::string& gameDir,
                       const std::function<void(long long mode)>& onFrame, std::string& error);
