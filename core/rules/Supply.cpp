#include "core/rules/Supply.h"

#include <array>
#include <string>

#include "core/rules/UnitRemoval.h"
#include "core/game/Game.h"
#include "core/game/Text.h"
#include "core/game/Ui.h"
#include "core/rules/Movement.h"
#include "core/rules/Occupancy.h"
#include "core/rules/UnitStrength.h"

namespace milgant {
namespace {

struct SupplySearch {
  Game& g;
  const Occupancy& occ;
  int traced;  // the side whose supply is traced (castles)
  int phase;   // the side whose phase runs (units)
  int row;
  std::array<char, kRouteCapacity> path{};
};

bool ZoneBlocked(const Game& g, const Occupancy& occ, int phase, int x, int y) {
  int road = 0;
  for (int k = 1; k <= 6; ++k) {
    const HexPos n = Neighbour(x, y, k);
    // The scan ends at the first neighbour off the map.
    if (!OnMapHex(n.X, n.Y)) return false;
    if (!occ.Empty(n.X, n.Y) && occ.First(n.X, n.Y) != phase &&
        StepCostByDirection(g, n.X, n.Y, k, kZoneRow, road) < 40) {
      return occ.Empty(x, y);  // a unit of one's own keeps its hex in supply
    }
  }
  return false;
}

void SupplyStep(SupplySearch& s, int x, int y, int depth, int from, int budget) {
  if (!OnMapHex(x, y)) return;
  Game& g = s.g;
  const auto ix = static_cast<std::size_t>(x);
  const auto iy = static_cast<std::size_t>(y);
  if (g.SupplyRemaining[ix][iy] >= budget) return;
  if (!s.occ.Empty(x, y) && s.occ.First(x, y) != s.phase) return;
  if (s.occ.CastleNotOwnedBy(x, y, s.traced)) return;
  if (ZoneBlocked(g, s.occ, s.phase, x, y)) return;
  int road = 0;
  const int cost = StepCostByDirection(g, x, y, from, s.row, road);
  if (budget - cost < 0) return;
  g.SupplyRemaining[ix][iy] = budget - cost;
  g.MovePath[ix][iy].Assign(std::string_view(s.path.data(), static_cast<std::size_t>(depth)));
  if (depth >= static_cast<int>(kRouteCapacity)) return;
  const int back = OppositeDirection(from);
  for (int k = 1; k <= 6; ++k) {
    if (k == back) continue;
    const HexPos n = Neighbour(x, y, k);
    s.path[static_cast<std::size_t>(depth)] = static_cast<char>('0' + k);
    SupplyStep(s, n.X, n.Y, depth + 1, k, budget - cost);
  }
}

// A trace from (x, y) into all six directions; the hex itself then holds the whole budget.
void TraceFrom(SupplySearch& s, int x, int y, int budget) {
  for (int k = 1; k <= 6; ++k) {
    const HexPos n = Neighbour(x, y, k);
    s.path[0] = static_cast<char>('0' + k);
    SupplyStep(s, n.X, n.Y, 1, k, budget);
  }
  s.g.SupplyRemaining[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)] = budget;
  s.g.MovePath[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)].Assign("0");
}

bool HasRoad(const Hex& h) {
  for (const std::int32_t r : h.RoadSides) {
    if (r > 0) return true;
  }
  return false;
}

void ClearSupply(Game& g) {
  for (auto& column : g.SupplyRemaining) column.fill(-1);
}

}  // namespace

bool SupplyZoneBlocked(const Game& g, int x, int y) {
  if (!OnMapHex(x, y)) return false;
  Occupancy occ;
  BuildOccupancy(g, occ);
  return ZoneBlocked(g, occ, g.PhaseSide, x, y);
}

void TraceSupply(Game& g, int side) {
  ClearSupply(g);
  if (side != 0 && side != 1) return;
  Occupancy occ;
  BuildOccupancy(g, occ);
  const HexPos source = kSupplySource[side];
  SupplySearch road{g, occ, side, g.PhaseSide, kRoadOnlyRow};
  TraceFrom(road, source.X, source.Y, kLongTraceBudget);
  // From the road net a short way into the country. The scan order matters: a road hex first
  // reached by a short trace begun earlier in the scan starts one of its own.
  SupplySearch country{g, occ, side, g.PhaseSide, kZoneRow};
  for (int x = 0; x < kMapSize; ++x) {
    for (int y = 0; y < kMapSize; ++y) {
      if (g.SupplyRemaining[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)] > 0 && HasRoad(g.H(x, y))) {
        TraceFrom(country, x, y, kShortTraceBudget);
      }
      // Cities feed whoever stands in them.
      if (g.H(x, y).Terrain >= static_cast<int>(TerrainCode::City)) {
        g.SupplyRemaining[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)] = 1;
      }
    }
  }
}

void SupplyCheck(Game& g, Ui& ui, int side) {
  TraceSupply(g, side);
  for (int slot = 1; slot < kUnitSlots; ++slot) {
    Unit& u = g.U(slot);
    if (u.OnMap != 1 || u.Side != side || !OnMapHex(u.HexX, u.HexY)) continue;
    if (g.SupplyRemaining[u.HexX][u.HexY] > 0) {
      u.Supplied = 1;
      continue;
    }
    u.Supplied = 0;
    u.Steps -= kSupplyStepLoss;
    if (u.Steps > 0) {
      u.CombatPower = ScaledCombatPower(u);
      continue;
    }
    u.OnMap = 0;
    ui.Happened(UnitEvent(g, EventKind::OutOfSupply, slot));
    const std::string text = Cp932ToUtf8Lossy(u.ArmyName.View()) + " " + Cp932ToUtf8Lossy(u.GeneralName.View()) +
                             "が\r補給切れにより全滅します。";
    ui.Ask("補給切れ除去", text);  // the player only acknowledges it
    RemoveUnit(g, ui, slot);
  }
  ClearSupply(g);
  ClearMoveRange(g);
}

}  // namespace milgant
