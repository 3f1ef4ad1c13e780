// Supply: each side draws supply from one source hex along the roads (up to 45 hexes), and
// from every supplied road hex up to two hexes into the country; city hexes always count as
// supplied. Units outside it lose steps at the supply check and can be wiped out.
#pragma once

#include "core/game/HexGrid.h"

namespace milgant {

struct Game;
class Ui;

constexpr HexPos kSupplySource[2] = {{2, 5}, {19, 15}};
constexpr int kLongTraceBudget = 45;
constexpr int kShortTraceBudget = 3;
constexpr int kSupplyStepLoss = 3;

// Enemy presence next to (x, y): an enemy unit that could be stepped into cuts an empty hex
// off; a hex holding a unit keeps itself open.
bool SupplyZoneBlocked(const Game& g, int x, int y);
// Fills SupplyRemaining for `side` (routes go to MovePath as scratch). Supplied means > 0.
void TraceSupply(Game& g, int side);
// Traces, then marks every unit of `side` in or out of supply; units out of supply lose three
// steps and are removed when none are left. The tables are cleared afterwards.
void SupplyCheck(Game& g, Ui& ui, int side);

}  // namespace milgant
