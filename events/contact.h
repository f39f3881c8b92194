// What a contact means: touchdown, a capsule, a person, or a crash.
#pragma once

#include "core/game_state.h"
#include "display/hit_test.h"

// Called for each probe that found something other than the playfield. sideProbe is kTrue for
// the horizontal probe, kFalse for the vertical one. Reports by setting GameMode (8 touchdown,
// 4 crash); a capsule or a person is taken and flight goes on.
void ContactResponse(WindowHandle hitWnd, Long sideProbe);

// Landing slower than this (twips per frame, downwards) on the pad clears the round.
constexpr Long kTouchdownSpeed = 45;
