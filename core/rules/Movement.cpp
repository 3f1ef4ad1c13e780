#include "core/rules/Movement.h"

#include <array>

#include "core/game/Game.h"
#include "core/game/HexGrid.h"
#include "core/game/Ui.h"
#include "core/rules/Occupancy.h"

namespace milgant {
namespace {

constexpr int kOffMapCost = 100;
constexpr int kStartPenalty = 4;       // leaving a hex next to the enemy
constexpr int kShallows = 5;           // never entered by a move

int LastDirection(std::string_view path) {
  if (path.empty()) return 0;
  const char c = path.back();
  return c >= '1' && c <= '6' ? c - '0' : 0;
}

int RowCost(const Game& g, int row, int terrain) {
  if (row < 0 || row >= kMovementTypes || terrain < 0 || terrain > 20) return kOffMapCost;
  return g.MovementTypes[static_cast<std::size_t>(row)].Cost[static_cast<std::size_t>(terrain)];
}

}  // namespace

bool InEnemyZone(const Game& g, const Occupancy& occ, int own, int x, int y) {
  for (int k = 1; k <= 6; ++k) {
    const HexPos n = Neighbour(x, y, k);
    if (!OnMapHex(n.X, n.Y)) continue;  // one step off the map: nothing stands there
    int road = 0;
    const bool enemyCastle =
        occ.CastleNotOwnedBy(n.X, n.Y, own) && StepCostByDirection(g, n.X, n.Y, k, kZoneRow, road) < 20;
    const bool enemyUnit =
        occ.HasOtherThan(n.X, n.Y, own) && StepCostByDirection(g, n.X, n.Y, k, kZoneRow, road) <= 19;
    if (enemyCastle || enemyUnit) return true;
  }
  return false;
}

void BuildZones(const Game& g, const Occupancy& occ, int own, ZoneTable& zone) {
  for (int x = 0; x < kMapSize; ++x) {
    for (int y = 0; y < kMapSize; ++y) {
      zone[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)] = InEnemyZone(g, occ, own, x, y);
    }
  }
}

namespace {

// The search's fixed inputs and the route being walked.
struct RangeSearch {
  Game& g;
  const Occupancy& occ;
  const ZoneTable& zone;
  int own;
  int row;
  std::array<char, kRouteCapacity> path{};
};

void Record(RangeSearch& s, int x, int y, int depth, int remaining) {
  auto& g = s.g;
  const auto ix = static_cast<std::size_t>(x);
  const auto iy = static_cast<std::size_t>(y);
  g.MoveRemaining[ix][iy] = remaining;
  g.MoveBlocked[ix][iy] = 0;
  g.MovePath[ix][iy].Assign(std::string_view(s.path.data(), static_cast<std::size_t>(depth)));
}

// Entering (x, y) by direction d with `budget` points: inside the enemy's zone the hex is
// recorded as a stop, if affordable, and the move goes no further. A river crossed into the
// zone is paid twice: once in the step cost and once more on top.
bool ZoneStop(RangeSearch& s, int x, int y, int d, int depth, int budget) {
  const Game& g = s.g;
  int road = 0;
  const int cost = StepCostByDirection(g, x, y, d, s.row, road);
  const int extra = RiverExtraByDirection(g, x, y, d, road);
  const int r = budget - cost - extra;
  if (r < 0 || !s.zone[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)]) return false;
  if (s.g.MoveRemaining[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)] < r) Record(s, x, y, depth, r);
  return true;
}

// Depth first from the hex entered by direction `from`; the route to it is path[0..depth).
void RangeStep(RangeSearch& s, int x, int y, int depth, int from, int budget) {
  if (!OnMapHex(x, y)) return;
  Game& g = s.g;
  const auto ix = static_cast<std::size_t>(x);
  const auto iy = static_cast<std::size_t>(y);
  if (g.MoveRemaining[ix][iy] >= budget) return;  // reached before with at least as much
  if (!s.occ.Empty(x, y) && s.occ.First(x, y) != s.own) return;  // enemy-held: attack instead
  if (s.occ.CastleNotOwnedBy(x, y, s.own)) return;  // an enemy castle is stormed, not entered
  if (ZoneStop(s, x, y, from, depth, budget)) return;
  int road = 0;
  const int cost = StepCostByDirection(g, x, y, from, s.row, road);
  if (budget - cost < 0 || g.H(x, y).Terrain == kShallows) return;
  Record(s, x, y, depth, budget - cost);
  if (depth >= static_cast<int>(kRouteCapacity)) return;  // a route holds at most 100 steps
  const int back = OppositeDirection(from);
  for (int k = 1; k <= 6; ++k) {
    if (k == back) continue;
    const HexPos n = Neighbour(x, y, k);
    s.path[static_cast<std::size_t>(depth)] = static_cast<char>('0' + k);
    RangeStep(s, n.X, n.Y, depth + 1, k, budget - cost);
  }
}

void PutCorpsOn(Game& g, int slot, int x, int y, bool mayMoveAgain) {
  Unit& u = g.U(slot);
  u.HexX = static_cast<std::uint8_t>(x);
  u.HexY = static_cast<std::uint8_t>(y);
  if (mayMoveAgain) u.CanMove = 1;
  for (int i = 0; i < u.SubordinateCount && i < kMaxSubordinates; ++i) {
    const int sub = u.Subordinates[static_cast<std::size_t>(i)];
    if (sub < 1 || sub >= kUnitSlots) continue;
    Unit& s = g.U(sub);
    s.HexX = static_cast<std::uint8_t>(x);
    s.HexY = static_cast<std::uint8_t>(y);
    if (mayMoveAgain) s.CanMove = 1;
  }
}

bool ValidSlot(int slot) { return slot >= 1 && slot < kUnitSlots; }

}  // namespace

int StepCostByDirection(const Game& g, int x, int y, int d, int row, int& roadFlag) {
  if (!OnMapHex(x, y)) return kOffMapCost;
  if (d < 1 || d > 6) return RowCost(g, row, g.H(x, y).Terrain);  // no step: the hex itself
  const HexPos p = Neighbour(x, y, OppositeDirection(d));  // the hex the step starts from
  if (!OnMapHex(p.X, p.Y)) return RowCost(g, row, g.H(x, y).Terrain);
  const Hex& from = g.H(p.X, p.Y);
  const auto side = static_cast<std::size_t>(d - 1);
  if (from.RoadSides[side] == 1) {
    roadFlag = 1;
    return 1;
  }
  if (from.Terrain == static_cast<int>(TerrainCode::Mountain)) return RowCost(g, row, from.Terrain);
  const int river = from.RiverSides[side] == 1 && roadFlag == 0 ? 1 : 0;
  return RowCost(g, row, g.H(x, y).Terrain) + river;
}

int RiverExtraByDirection(const Game& g, int x, int y, int d, int roadFlag) {
  if (d < 1 || d > 6 || !OnMapHex(x, y)) return 0;
  const HexPos p = Neighbour(x, y, OppositeDirection(d));
  if (!OnMapHex(p.X, p.Y)) return 0;
  return g.H(p.X, p.Y).RiverSides[static_cast<std::size_t>(d - 1)] == 1 && roadFlag == 0 ? 1 : 0;
}

int StepCost(const Game& g, int x, int y, std::string_view path, int row, int& roadFlag) {
  return StepCostByDirection(g, x, y, LastDirection(path), row, roadFlag);
}

int RiverExtra(const Game& g, int x, int y, std::string_view path, int roadFlag) {
  return RiverExtraByDirection(g, x, y, LastDirection(path), roadFlag);
}

bool EnemyZoneStop(Game& g, int x, int y, std::string_view path, int row, int budget) {
  if (!OnMapHex(x, y)) return false;
  Occupancy occ;
  BuildOccupancy(g, occ);
  ZoneTable zone{};
  BuildZones(g, occ, g.PhaseSide, zone);
  RangeSearch s{g, occ, zone, g.PhaseSide, row};
  const std::size_t n = path.size() < kRouteCapacity ? path.size() : kRouteCapacity;
  for (std::size_t i = 0; i < n; ++i) s.path[i] = path[i];
  return ZoneStop(s, x, y, LastDirection(path), static_cast<int>(n), budget);
}

void ClearMoveRange(Game& g) {
  for (auto& column : g.MoveBlocked) column.fill(1);
  for (auto& column : g.MovePath) {
    for (PathString& p : column) p.Clear();
  }
  for (auto& column : g.MoveRemaining) column.fill(-1);
}

void ComputeMoveRangeFor(Game& g, int x, int y, int row, int actionPoints, int side, bool clearFirst) {
  if (clearFirst) ClearMoveRange(g);
  if (!OnMapHex(x, y)) return;
  Occupancy occ;
  BuildOccupancy(g, occ);
  // Slipping away from an enemy next to the start costs extra.
  int penalty = 0;
  for (int k = 1; k <= 6; ++k) {
    const HexPos n = Neighbour(x, y, k);
    if (OnMapHex(n.X, n.Y) && !occ.Empty(n.X, n.Y) && occ.First(n.X, n.Y) != side) penalty = kStartPenalty;
  }
  ZoneTable zone{};
  BuildZones(g, occ, side, zone);
  RangeSearch s{g, occ, zone, side, row};
  for (int k = 1; k <= 6; ++k) {
    const HexPos n = Neighbour(x, y, k);
    s.path[0] = static_cast<char>('0' + k);
    RangeStep(s, n.X, n.Y, 1, k, actionPoints - penalty);
  }
  const auto ix = static_cast<std::size_t>(x);
  const auto iy = static_cast<std::size_t>(y);
  g.MoveBlocked[ix][iy] = 0;
  g.MovePath[ix][iy].Assign("0");
  g.MoveRemaining[ix][iy] = actionPoints;
  // From a port of one's own, every port is open (the points left there are not changed).
  if (g.H(x, y).Terrain == static_cast<int>(TerrainCode::PortCity)) {
    const int c = CastleAt(g, x, y);
    if (c != -1 && g.Castles[static_cast<std::size_t>(c)].Owner == side) {
      for (int px = 0; px < kMapSize; ++px) {
        for (int py = 0; py < kMapSize; ++py) {
          if (g.H(px, py).Terrain != static_cast<int>(TerrainCode::PortCity)) continue;
          g.MoveBlocked[static_cast<std::size_t>(px)][static_cast<std::size_t>(py)] = 0;
          g.MovePath[static_cast<std::size_t>(px)][static_cast<std::size_t>(py)].Assign("0");
        }
      }
    }
  }
}

void ComputeMoveRange(Game& g, int x, int y, int row, int actionPoints) {
  ComputeMoveRangeFor(g, x, y, row, actionPoints, g.PhaseSide, true);
}

void ComputeMoveRangeMirrored(Game& g, int x, int y, int row, int actionPoints) {
  ComputeMoveRangeFor(g, x, y, row, actionPoints, 1 - g.PhaseSide, true);
}

void ExtendMoveRange(Game& g, int x, int y, int row, int actionPoints) {
  ComputeMoveRangeFor(g, x, y, row, actionPoints, g.PhaseSide, false);
}

void ShowMoveRange(Game& g, Ui& ui, int slot) {
  if (!ValidSlot(slot)) return;
  ComputeMoveRange(g, g.ClickX, g.ClickY, kUnitMoveRow, g.U(slot).ActionPoints);
  g.RangeOverlay = 1;
  ui.RedrawMap();
  g.GameState = 4;
  g.RangeShown = 1;
}

void MoveAlongRoute(Game& g, Ui& ui, int slot) {
  if (!ValidSlot(slot)) return;
  Unit& u = g.U(slot);
  // Bring the unit into view first.
  g.ScrollX = u.HexX > 5 ? u.HexX * 60 - 300 : 0;
  g.ScrollY = u.HexY > 5 ? u.HexY * 44 - 220 : 0;
  ui.RedrawMap();
  const std::string_view route = u.Route.View();
  if (route != "0") {
    for (const char c : route) {
      const int d = c - '0';
      if (d < 1 || d > 6) break;  // a damaged route ends the walk
      const HexPos n = Neighbour(u.HexX, u.HexY, d);
      if (!OnMapHex(n.X, n.Y)) break;
      u.HexX = static_cast<std::uint8_t>(n.X);
      u.HexY = static_cast<std::uint8_t>(n.Y);
      ui.MoveStep(slot, n.X, n.Y);
    }
  }
  u.Fortified = 0;  // moving gives up a field fortification
  // In the human's phase a corps moves as one stack.
  if (g.PhaseSide == g.PlayerSide) PutCorpsOn(g, slot, u.HexX, u.HexY, false);
}

void ClickMoveDestination(Game& g, Ui& ui, int slot, int x, int y) {
  if (!ValidSlot(slot)) return;
  if (!OnMapHex(x, y) || g.MoveBlocked[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)] != 0) {
    ClearMoveRange(g);
    g.GameState = 7;
    g.RangeOverlay = 0;
    g.RangeShown = 0;
    ui.RedrawMap();
    return;
  }
  Unit& u = g.U(slot);
  g.SavedHexX = u.HexX;
  g.SavedHexY = u.HexY;
  u.RouteDestX = static_cast<std::uint8_t>(x);
  u.RouteDestY = static_cast<std::uint8_t>(y);
  u.Route.Assign(g.MovePath[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)].View());
  MoveAlongRoute(g, ui, slot);
  ui.RedrawMap();
  g.GameState = 24;
}

void ClickMoveConfirmation(Game& g, Ui& ui, int slot, int x, int y) {
  if (!ValidSlot(slot)) return;
  Unit& u = g.U(slot);
  if (x == u.HexX && y == u.HexY) {
    const int left = OnMapHex(u.RouteDestX, u.RouteDestY) ? g.MoveRemaining[u.RouteDestX][u.RouteDestY] : 0;
    const int before = u.ActionPoints;
    // A port opened by the port rule carries no points of its own; the unit never goes below 0.
    u.ActionPoints = left > 0 ? left : 0;
    ui.Happened(MoveEvent(g, slot, g.SavedHexX, g.SavedHexY, before - u.ActionPoints));
    ClearMoveRange(g);
    g.RangeOverlay = 0;
    ui.RedrawMap();
    g.GameState = 7;
    u.CanMove = 1;
    g.RangeShown = 0;
    return;
  }
  ClearMoveRange(g);
  g.RangeOverlay = 0;
  PutCorpsOn(g, slot, g.SavedHexX, g.SavedHexY, false);
  g.RangeShown = 0;
  ui.RedrawMap();
  g.GameState = 7;
}

void TakeBackMove(Game& g, Ui& ui, int slot) {
  ClearMoveRange(g);
  if (ValidSlot(slot)) PutCorpsOn(g, slot, g.SavedHexX, g.SavedHexY, true);
  g.GameState = 3;
  g.RangeOverlay = 0;
  ui.RedrawMap();
}

void CancelMoveRange(Game& g, Ui& ui) {
  ClearMoveRange(g);
  g.GameState = 3;
  g.RangeOverlay = 0;
  ui.RedrawMap();
}

}  // namespace milgant
