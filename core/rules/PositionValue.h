// What a hex is worth to a side beyond the odds: how many enemy stacks a unit standing there
// would help to shut in. Used by the computer's move scoring and by a defender weighing a
// retreat; also the stacks that speak for a hex.
#pragma once

#include "core/game/HexGrid.h"

namespace milgant {

struct Game;

constexpr int kEnclosedStackValue = 7;

// Encirclement value of (x, y) for `side`: 7 for every neighbour held by an enemy (its first
// unit is not of `side`) whose six sides are all closed. A side of that enemy hex is closed
// when the hex beyond it is (x, y) itself, holds a unit of `side` (as its first unit), lies off
// the map, or has terrain that costs more than 20 to enter in the zone-of-control row.
int EncirclementValue(const Game& g, int x, int y, int side);
// The sum of EncirclementValue over every hex of the map, with who stands where looked up once.
int EncirclementTotal(const Game& g, int side);

// The on-map units at (x, y) without a commander (corps commanders and independent generals),
// slot order: the stacks a player picks from and the computer orders about.
UnitList TopUnitsAtHex(const Game& g, int x, int y);

}  // namespace milgant
