// Supply traces the computer runs for its own weighing: the road trace from a supply source
// (no short traces from the roads), the computer side's variant of it that stops at the
// enemy's zones of control, and the short trace from one hex. They fill SupplyRemaining only.
#pragma once

#include "game/HexGrid.h"

namespace milgant {

struct Game;

// The plain trace from `source`: units are tested against PhaseSide, castles against `side`,
// the enemy next door against PhaseSide as the supply check does. The source keeps the budget.
void TraceFromSource(Game& g, int side, HexPos source, int row, int budget);
// The computer side's own trace from its source with row 9 and 45 points: units and castles
// are tested against `side`, a hex in the enemy's zone of control ends the trace there, and
// the source itself is left with 45 minus the row-9 cost of its own terrain.
void ComputerSourceTrace(Game& g, int side);

// The cost of terrain `terrain` in cost row `row` (100 outside the table).
int TerrainRowCost(const Game& g, int row, int terrain);

}  // namespace milgant
