#include "core/rules/PositionValue.h"

#include "core/game/Game.h"
#include "core/rules/Movement.h"

namespace milgant {
namespace {

// A side of an enemy hex is closed when nothing of the enemy could get out that way.
bool Closed(const Game& g, HexPos beyond, HexPos h, int side) {
  if (beyond == h) return true;
  if (!OnMapHex(beyond.X, beyond.Y)) return true;
  const int first = FirstUnitAt(g, beyond.X, beyond.Y);
  if (first != -1 && g.U(first).Side == side) return true;
  const int terrain = g.H(beyond.X, beyond.Y).Terrain;
  if (terrain < 0 || terrain >= kTerrainCodes) return true;
  return g.MovementTypes[kZoneRow].Cost[static_cast<std::size_t>(terrain)] > 20;
}

}  // namespace

int EncirclementValue(const Game& g, int x, int y, int side) {
  const HexPos h{x, y};
  int value = 0;
  for (int k = 1; k <= 6; ++k) {
    const HexPos n = Neighbour(x, y, k);
    if (!OnMapHex(n.X, n.Y)) continue;
    const int first = FirstUnitAt(g, n.X, n.Y);
    if (first == -1 || g.U(first).Side == side) continue;
    bool shut = true;
    for (int j = 1; j <= 6 && shut; ++j) shut = Closed(g, Neighbour(n.X, n.Y, j), h, side);
    if (shut) value += kEnclosedStackValue;
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
