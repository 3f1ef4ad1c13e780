// The siege step: at the start of a side's phase every enemy castle with that side's units
// next to it loses heart while the besiegers outnumber the garrison, and may surrender.
#pragma once

#include "core/game/HexGrid.h"

namespace milgant {

struct Game;
class Ui;

// The on-map units of `side` on (x, y), slot order.
UnitList UnitsOfSideAtHex(const Game& g, int x, int y, int side);
// How much a siege round wears the garrison down: a die read against the highest rank inside
// (an empty castle gives way fastest, one held by the commander-in-chief slowest).
int SiegeGain(Game& g, const UnitList& garrison);
// `side` is the side about to act.
void SiegeStep(Game& g, Ui& ui, int side);

}  // namespace milgant
