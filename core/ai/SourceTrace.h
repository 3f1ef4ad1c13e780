// Supply traces the computer runs for its own weighing: the road trace from a supply source
// (no short traces from the roads), the computer side's variant of it that stops at the
// enemy's zones of control, and short traces from single hexes. They fill SupplyRemaining only.
// The two long traces keep their last table while nothing they read has changed; the plain
// versions always search afresh and must give the same tables.
#pragma once

#include <array>

#include "core/ai/Board.h"
#include "core/game/HexGrid.h"

namespace milgant {

struct Game;

using HexFlags = std::array<std::array<bool, kMapSize>, kMapSize>;

// The plain trace from `source`: units are tested against PhaseSide, castles against `side`,
// the enemy next door against PhaseSide as the supply check does. The source keeps the budget.
void TraceFromSourcePlain(Game& g, int side, HexPos source, int row, int budget);
// That trace with row 9 and 45 points from `side`'s own source.
void RoadTraceFromSource(Game& g, int side);
// The computer side's own trace from its source with row 9 and 45 points: units and castles
// are tested against `side`, a hex in the enemy's zone of control ends the trace there, and
// the source itself is left with 45 minus the row-9 cost of its own terrain.
void ComputerSourceTrace(Game& g, int side);
void ComputerSourceTracePlain(Game& g, int side);

// Many plain traces over one unchanging position: who stands where is looked at once.
class ShortTraces {
 public:
  explicit ShortTraces(Game& g);
  void From(int side, HexPos source, int row, int budget);

 private:
  Game& g_;
  Board board_;
  HexFlags blocked_{};
};

// The cost of terrain `terrain` in cost row `row` (100 outside the table).
int TerrainRowCost(const Game& g, int row, int terrain);

}  // namespace milgant
