// The game's one random source: uniform values in [0, 1), never seeded, so every run of the
// program draws the same sequence from its start. The flame flicker, the starfield and the
// explosion all draw from it, one after the other.
#pragma once

#include <vector>

double Rnd();

// Starts the sequence again from its beginning (a new headless run).
void ResetRandom();

// Makes the next draws return these values, in order, before the sequence resumes (tests).
void QueueRandomDraws(const std::vector<double>& values);

// Draws taken since the last reset.
long long RandomDrawCount();
