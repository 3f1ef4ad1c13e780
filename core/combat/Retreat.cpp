#include "core/combat/Retreat.h"

#include <array>
#include <string>

#include "core/rules/PositionValue.h"
#include "core/game/Game.h"
#include "core/game/Ui.h"
#include "core/rules/Movement.h"
#include "core/rules/Supply.h"

namespace milgant {
namespace {

constexpr int kRetreatStepLimit = 20;  // a retreat crosses nothing dearer than this

struct Choices {
  std::array<HexPos, 6> Hexes{};
  int Count = 0;
};

int EntryCost(const Game& g, int x, int y, int direction) {
  int road = 0;
  return StepCostByDirection(g, x, y, direction, kZoneRow, road);
}

bool Empty(const Game& g, HexPos h) { return FirstUnitAt(g, h.X, h.Y) == -1; }

// No unit of another side could step into (x, y)'s surroundings cheaply.
bool SafeFromEnemy(const Game& g, HexPos h, int side) {
  for (int k = 1; k <= 6; ++k) {
    const HexPos n = Neighbour(h.X, h.Y, k);
    if (!OnMapHex(n.X, n.Y) || EntryCost(g, n.X, n.Y, k) >= kRetreatStepLimit) continue;
    const UnitList there = UnitsAt(g, n.X, n.Y);
    for (int i = 0; i < there.Count; ++i) {
      if (g.U(there.Slots[static_cast<std::size_t>(i)]).Side != side) return false;
    }
  }
  return true;
}

// The computer's supply is traced in its own phase's terms.
int SuppliedHexes(Game& g) {
  const int phase = g.PhaseSide;
  g.PhaseSide = g.ComputerSide;
  TraceSupply(g, g.ComputerSide);
  g.PhaseSide = phase;
  int count = 0;
  for (const auto& column : g.SupplyRemaining) {
    for (const std::int32_t v : column) count += v > 0 ? 1 : 0;
  }
  return count;
}

}  // namespace

RetreatPath FindRetreat(Game& g, Ui& ui, int x, int y, int side) {
  RetreatPath path;
  Choices first;
  for (int k = 1; k <= 6; ++k) {
    const HexPos n = Neighbour(x, y, k);
    if (!OnMapHex(n.X, n.Y) || !Empty(g, n) || EntryCost(g, n.X, n.Y, k) > kRetreatStepLimit) continue;
    if (!SafeFromEnemy(g, n, side)) continue;
    first.Hexes[static_cast<std::size_t>(first.Count++)] = n;
    ui.BattleRetreatArrow(k, n.X, n.Y);
  }
  if (first.Count == 0) return path;
  const HexPos via = first.Hexes[static_cast<std::size_t>(g.Rng.Next(first.Count))];
  Choices second;
  for (int k = 1; k <= 6; ++k) {
    const HexPos n = Neighbour(via.X, via.Y, k);
    if (!OnMapHex(n.X, n.Y) || !Empty(g, n) || EntryCost(g, n.X, n.Y, k) > kRetreatStepLimit) continue;
    if (HexDistance(n.X, n.Y, x, y) <= 1) continue;
    second.Hexes[static_cast<std::size_t>(second.Count++)] = n;
  }
  if (second.Count == 0) return path;
  path.Found = true;
  path.First = via;
  path.Final = second.Hexes[static_cast<std::size_t>(g.Rng.Next(second.Count))];
  return path;
}

bool SideBroken(const Game& g, const UnitList& units) {
  if (units.Count == 0) return false;
  for (int i = 0; i < units.Count; ++i) {
    const Unit& u = g.U(units.Slots[static_cast<std::size_t>(i)]);
    if (u.Normal != 0 || u.Steps > kBrokenStepLimit) return false;
  }
  return true;
}

int ComputerPositionValue(Game& g) {
  int value = SuppliedHexes(g);
  if (!g.FullSearches) return value + EncirclementTotal(g, g.ComputerSide);
  for (int x = 0; x < kMapSize; ++x) {
    for (int y = 0; y < kMapSize; ++y) value += EncirclementValue(g, x, y, g.ComputerSide);
  }
  return value;
}

bool TrialRetreatImproves(Game& g, const UnitList& defenders, HexPos to) {
  // The supply trace writes the scratch tables; they are put back as they were.
  const auto supply = g.SupplyRemaining;
  const auto paths = g.MovePath;
  const int before = ComputerPositionValue(g);
  std::array<Unit, kUnitSlots> saved;
  for (int i = 0; i < defenders.Count; ++i) {
    const int slot = defenders.Slots[static_cast<std::size_t>(i)];
    saved[static_cast<std::size_t>(i)] = g.U(slot);
    PlaceOnHex(g, slot, to.X, to.Y);
  }
  const int after = ComputerPositionValue(g);
  for (int i = 0; i < defenders.Count; ++i) g.U(defenders.Slots[static_cast<std::size_t>(i)]) = saved[static_cast<std::size_t>(i)];
  g.SupplyRemaining = supply;
  g.MovePath = paths;
  return after > before;
}

void PlaceOnHex(Game& g, int slot, int x, int y) {
  Unit& u = g.U(slot);
  if (u.HexX != x || u.HexY != y) u.Fortified = 0;
  u.HexX = static_cast<std::uint8_t>(x);
  u.HexY = static_cast<std::uint8_t>(y);
}

void GatherCorps(Game& g, int commander) {
  const Unit& c = g.U(commander);
  for (int i = 0; i < c.SubordinateCount && i < kMaxSubordinates; ++i) {
    const int sub = c.Subordinates[static_cast<std::size_t>(i)];
    if (sub < 1 || sub >= kUnitSlots || g.U(sub).OnMap != 1) continue;
    g.U(sub).HexX = c.HexX;
    g.U(sub).HexY = c.HexY;
  }
}

}  // namespace milgant
