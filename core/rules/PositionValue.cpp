#include "core/rules/PositionValue.h"

#include "core/game/Game.h"
#include "core/rules/Movement.h"
#include "core/rules/Occupancy.h"

namespace milgant {
namespace {

// A side of an enemy hex is closed when nothing of the enemy could get out that way.
// `firstSide` gives the side of the first unit on a hex of the map, -1 when it is empty.
template <typename FirstSide>
bool Closed(const Game& g, HexPos beyond, HexPos h, int side, const FirstSide& firstSide) {
  if (beyond == h) return true;
  if (!OnMapHex(beyond.X, beyond.Y)) return true;
  const int first = firstSide(beyond);
  if (first != -1 && first == side) return true;
  const int terrain = g.H(beyond.X, beyond.Y).Terrain;
  if (terrain < 0 || terrain >= kTerrainCodes) return true;
  return g.MovementTypes[kZoneRow].Cost[static_cast<std::size_t>(terrain)] > 20;
}

template <typename FirstSide>
int Encirclement(const Game& g, int x, int y, int side, const FirstSide& firstSide) {
  const HexPos h{x, y};
  int value = 0;
  for (int k = 1; k <= 6; ++k) {
    const HexPos n = Neighbour(x, y, k);
    if (!OnMapHex(n.X, n.Y)) continue;
    const int first = firstSide(n);
    if (first == -1 || first == side) continue;
    bool shut = true;
    for (int j = 1; j <= 6 && shut; ++j) shut = Closed(g, Neighbour(n.X, n.Y, j), h, side, firstSide);
    if (shut) value += kEnclosedStackValue;
  }
  return value;
}

}  // namespace

int EncirclementValue(const Game& g, int x, int y, int side) {
  return Encirclement(g, x, y, side, [&g](HexPos p) {
    const int first = FirstUnitAt(g, p.X, p.Y);
    return first == -1 ? -1 : static_cast<int>(g.U(first).Side);
  });
}

int EncirclementTotal(const Game& g, int side) {
  Occupancy occ;
  BuildOccupancy(g, occ);
  const auto firstSide = [&occ](HexPos p) { return occ.First(p.X, p.Y); };
  int value = 0;
  for (int x = 0; x < kMapSize; ++x) {
    for (int y = 0; y < kMapSize; ++y) value += Encirclement(g, x, y, side, firstSide);
  }
  return value;
}

UnitList TopUnitsAtHex(const Game& g, int x, int y) {
  UnitList list;
  list.Slots.fill(-1);
  for (int slot = 1; slot < kUnitSlots; ++slot) {
    const Unit& u = g.U(slot);
    if (u.OnMap == 1 && u.CommanderIndex == -1 && u.HexX == x && u.HexY == y) {
      list.Slots[static_cast<std::size_t>(list.Count++)] = slot;
    }
  }
  return list;
}

}  // namespace milgant
