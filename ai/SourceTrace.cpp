#include "ai/SourceTrace.h"

#include <array>

#include "ai/Board.h"
#include "game/Game.h"
#include "turn/Movement.h"
#include "turn/Supply.h"

namespace milgant {
namespace {

using Flags = std::array<std::array<bool, kMapSize>, kMapSize>;

struct Trace {
  Game& g;
  const Board& board;
  int unitSide;    // a first unit of another side stops the trace
  int castleSide;  // a castle of another owner stops the trace
  const Flags& blocked;
  int row;
};

void Step(Trace& t, int x, int y, int from, int budget) {
  if (!OnMapHex(x, y)) return;
  auto& remaining = t.g.SupplyRemaining[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)];
  if (remaining >= budget) return;
  const int first = FirstSideAt(t.g, t.board, x, y);
  if (first != -1 && first != t.unitSide) return;
  const int castle = t.board.CastleOn(x, y);
  if (castle != -1 && t.g.Castles[static_cast<std::size_t>(castle)].Owner != t.castleSide) return;
  if (t.blocked[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)]) return;
  int road = 0;
  const int cost = StepCostByDirection(t.g, x, y, from, t.row, road);
  if (budget - cost < 0) return;
  remaining = budget - cost;
  const int back = OppositeDirection(from);
  for (int k = 1; k <= 6; ++k) {
    if (k == back) continue;
    const HexPos n = Neighbour(x, y, k);
    Step(t, n.X, n.Y, k, budget - cost);
  }
}

void Run(Trace& t, HexPos source, int budget) {
  for (int k = 1; k <= 6; ++k) {
    const HexPos n = Neighbour(source.X, source.Y, k);
    Step(t, n.X, n.Y, k, budget);
  }
}

bool AnyOtherSide(const Game& g, const Board& b, int x, int y, int side) {
  for (int s = b.First(x, y); s != -1; s = b.Next[static_cast<std::size_t>(s)]) {
    if (g.U(s).Side != side) return true;
  }
  return false;
}

// Hexes where an enemy next door cuts supply off, as the supply check sees it: the scan of the
// neighbours ends at the first one off the map, and a hex holding a unit keeps itself open.
void SupplyZones(const Game& g, const Board& b, int phase, Flags& out) {
  for (int x = 0; x < kMapSize; ++x) {
    for (int y = 0; y < kMapSize; ++y) {
      bool blocked = false;
      for (int k = 1; k <= 6; ++k) {
        const HexPos n = Neighbour(x, y, k);
        if (!OnMapHex(n.X, n.Y)) break;
        const int first = FirstSideAt(g, b, n.X, n.Y);
        int road = 0;
        if (first != -1 && first != phase && StepCostByDirection(g, n.X, n.Y, k, kZoneRow, road) < 40) {
          blocked = b.First(x, y) == -1;
          break;
        }
      }
      out[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)] = blocked;
    }
  }
}

// The enemy's zones of control as a move sees them: next to an enemy unit, or an enemy castle,
// that could be stepped into from there.
void MoveZones(const Game& g, const Board& b, int side, Flags& out) {
  for (int x = 0; x < kMapSize; ++x) {
    for (int y = 0; y < kMapSize; ++y) {
      bool in = false;
      for (int k = 1; k <= 6 && !in; ++k) {
        const HexPos n = Neighbour(x, y, k);
        if (!OnMapHex(n.X, n.Y)) continue;
        int road = 0;
        const bool open = StepCostByDirection(g, n.X, n.Y, k, kZoneRow, road) < 20;
        const int castle = b.CastleOn(n.X, n.Y);
        const bool enemyCastle = castle != -1 && g.Castles[static_cast<std::size_t>(castle)].Owner != side;
        in = open && (enemyCastle || AnyOtherSide(g, b, n.X, n.Y, side));
      }
      out[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)] = in;
    }
  }
}

void ClearSupply(Game& g) {
  for (auto& column : g.SupplyRemaining) column.fill(-1);
}

}  // namespace

int TerrainRowCost(const Game& g, int row, int terrain) {
  if (row < 0 || row >= kMovementTypes || terrain < 0 || terrain > 20) return 100;
  return g.MovementTypes[static_cast<std::size_t>(row)].Cost[static_cast<std::size_t>(terrain)];
}

void TraceFromSource(Game& g, int side, HexPos source, int row, int budget) {
  ClearSupply(g);
  if (!OnMapHex(source.X, source.Y)) return;
  Board b;
  BuildBoard(g, b);
  Flags blocked{};
  SupplyZones(g, b, g.PhaseSide, blocked);
  Trace t{g, b, g.PhaseSide, side, blocked, row};
  Run(t, source, budget);
  g.SupplyRemaining[static_cast<std::size_t>(source.X)][static_cast<std::size_t>(source.Y)] = budget;
}

void ComputerSourceTrace(Game& g, int side) {
  ClearSupply(g);
  if (side != 0 && side != 1) return;
  const HexPos source = kSupplySource[side];
  Board b;
  BuildBoard(g, b);
  Flags blocked{};
  MoveZones(g, b, side, blocked);
  Trace t{g, b, side, side, blocked, kRoadOnlyRow};
  Run(t, source, kLongTraceBudget);
  g.SupplyRemaining[static_cast<std::size_t>(source.X)][static_cast<std::size_t>(source.Y)] =
      kLongTraceBudget - TerrainRowCost(g, kRoadOnlyRow, g.H(source.X, source.Y).Terrain);
}

}  // namespace milgant
