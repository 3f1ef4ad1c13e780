#include "core/ai/SourceTrace.h"

#include <array>
#include <cstring>

#include "core/ai/Board.h"
#include "core/game/Game.h"
#include "core/rules/Movement.h"
#include "core/rules/Supply.h"

namespace milgant {
namespace {

struct Trace {
  Game& g;
  const Board& board;
  int unitSide;    // a first unit of another side stops the trace
  int castleSide;  // a castle of another owner stops the trace
  const HexFlags& blocked;
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
void SupplyZones(const Game& g, const Board& b, int phase, HexFlags& out) {
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
void MoveZones(const Game& g, const Board& b, int side, HexFlags& out) {
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

namespace {

// Everything a long trace reads: who stands where, the castles and their holders, the map, the
// cost rows and the sides compared against. Two equal keys give equal tables.
struct TraceKey {
  int Kind = 0;
  int Side = 0;
  int Phase = 0;
  int CastleCount = 0;
  std::array<std::uint32_t, kUnitSlots> Units{};
  std::array<std::array<std::int32_t, 3>, kCastleSlots> Castles{};
  MapTable Map{};
  std::array<MovementType, kMovementTypes> Costs{};

  bool operator==(const TraceKey& o) const {
    return Kind == o.Kind && Side == o.Side && Phase == o.Phase && CastleCount == o.CastleCount && Units == o.Units &&
           Castles == o.Castles && std::memcmp(&Map, &o.Map, sizeof Map) == 0 &&
           std::memcmp(&Costs, &o.Costs, sizeof Costs) == 0;
  }
};

void MakeKey(const Game& g, int kind, int side, TraceKey& k) {
  k.Kind = kind;
  k.Side = side;
  k.Phase = g.PhaseSide;
  k.CastleCount = g.CastleCounter;
  for (int s = 0; s < kUnitSlots; ++s) {
    const Unit& u = g.U(s);
    k.Units[static_cast<std::size_t>(s)] =
        u.OnMap == 1 ? (1u << 24) | (static_cast<std::uint32_t>(u.Side) << 16) | (u.HexX << 8) | u.HexY : 0u;
  }
  for (int c = 0; c < kCastleSlots; ++c) {
    const Castle& ca = g.Castles[static_cast<std::size_t>(c)];
    k.Castles[static_cast<std::size_t>(c)] = {ca.HexX, ca.HexY, ca.Owner};
  }
  std::memcpy(&k.Map, &g.Map, sizeof k.Map);
  std::memcpy(&k.Costs, &g.MovementTypes, sizeof k.Costs);
}

// The last table of each long trace, kept while nothing it reads changes: the computer runs
// the same trace for every unit it moves, and most moves change nothing the trace reads.
struct TraceMemo {
  TraceKey Key;
  std::array<std::array<std::int32_t, kMapSize>, kMapSize> Table{};
  bool Valid = false;
};

template <typename Fill>
void Memoised(Game& g, int kind, int side, Fill fill) {
  static thread_local std::array<TraceMemo, 4> memo;
  static thread_local TraceKey key;
  MakeKey(g, kind, side, key);
  TraceMemo& m = memo[static_cast<std::size_t>(kind * 2 + (side == 1 ? 1 : 0))];
  if (m.Valid && m.Key == key) {
    g.SupplyRemaining = m.Table;
    return;
  }
  fill();
  m.Key = key;
  m.Table = g.SupplyRemaining;
  m.Valid = true;
}

}  // namespace

ShortTraces::ShortTraces(Game& g) : g_(g) {
  BuildBoard(g, board_);
  SupplyZones(g, board_, g.PhaseSide, blocked_);
}

void ShortTraces::From(int side, HexPos source, int row, int budget) {
  ClearSupply(g_);
  if (!OnMapHex(source.X, source.Y)) return;
  Trace t{g_, board_, g_.PhaseSide, side, blocked_, row};
  Run(t, source, budget);
  g_.SupplyRemaining[static_cast<std::size_t>(source.X)][static_cast<std::size_t>(source.Y)] = budget;
}

void TraceFromSourcePlain(Game& g, int side, HexPos source, int row, int budget) {
  ShortTraces traces(g);
  traces.From(side, source, row, budget);
}

void ComputerSourceTracePlain(Game& g, int side) {
  ClearSupply(g);
  if (side != 0 && side != 1) return;
  const HexPos source = kSupplySource[side];
  Board b;
  BuildBoard(g, b);
  HexFlags blocked{};
  MoveZones(g, b, side, blocked);
  Trace t{g, b, side, side, blocked, kRoadOnlyRow};
  Run(t, source, kLongTraceBudget);
  g.SupplyRemaining[static_cast<std::size_t>(source.X)][static_cast<std::size_t>(source.Y)] =
      kLongTraceBudget - TerrainRowCost(g, kRoadOnlyRow, g.H(source.X, source.Y).Terrain);
}

void RoadTraceFromSource(Game& g, int side) {
  if (side != 0 && side != 1) {
    ClearSupply(g);
    return;
  }
  Memoised(g, 0, side, [&] { TraceFromSourcePlain(g, side, kSupplySource[side], kRoadOnlyRow, kLongTraceBudget); });
}

void ComputerSourceTrace(Game& g, int side) {
  if (side != 0 && side != 1) {
    ClearSupply(g);
    return;
  }
  Memoised(g, 1, side, [&] { ComputerSourceTracePlain(g, side); });
}

}  // namespace milgant
