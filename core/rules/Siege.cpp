#include "core/rules/Siege.h"

#include <array>

#include "core/rules/CastleFall.h"
#include "core/game/Game.h"

namespace milgant {
namespace {

// Gain by the highest rank in the castle (row 0: empty castle) and the die 1..6.
constexpr std::array<std::array<int, 6>, 4> kSiegeGain = {{
    {0, 1, 1, 2, 2, 3},  // no garrison
    {0, 0, 1, 1, 2, 2},  // generals
    {0, 0, 0, 1, 1, 2},  // 大将
    {0, 0, 0, 0, 1, 1},  // 総大将
}};

int Besiegers(const Game& g, int x, int y, int side) {
  int count = 0;
  for (int k = 1; k <= 6; ++k) {
    const HexPos n = Neighbour(x, y, k);
    if (n.X < 0 || n.Y < 0) continue;
    count += UnitsOfSideAtHex(g, n.X, n.Y, side).Count;
  }
  return count;
}

}  // namespace

UnitList UnitsOfSideAtHex(const Game& g, int x, int y, int side) {
  UnitList list;
  list.Slots.fill(-1);
  for (int slot = 0; slot < kUnitSlots; ++slot) {
    const Unit& u = g.U(slot);
    if (u.OnMap == 1 && u.Side == side && u.HexX == x && u.HexY == y) {
      list.Slots[static_cast<std::size_t>(list.Count++)] = slot;
    }
  }
  return list;
}

int SiegeGain(Game& g, const UnitList& garrison) {
  int rank = -1;
  for (int i = 0; i < garrison.Count; ++i) {
    const int slot = garrison.Slots[static_cast<std::size_t>(i)];
    if (slot >= 0 && slot < kUnitSlots && g.U(slot).Rank > rank) rank = g.U(slot).Rank;
  }
  if (rank > 2) rank = 2;
  const int die = g.Rng.Die();
  return kSiegeGain[static_cast<std::size_t>(rank + 1)][static_cast<std::size_t>(die - 1)];
}

void SiegeStep(Game& g, Ui& ui, int side) {
  const int last = g.CastleCounter < kCastleSlots ? g.CastleCounter : kCastleSlots;
  for (int n = 0; n < last; ++n) {
    Castle& c = g.Castles[static_cast<std::size_t>(n)];
    if (c.Name.Length == 0 || c.Owner == side) continue;
    const UnitList garrison = UnitsOfSideAtHex(g, c.HexX, c.HexY, 1 - side);
    const int besiegers = Besiegers(g, c.HexX, c.HexY, side);
    if (besiegers == 0) continue;
    if (besiegers < garrison.Count) c.CastleMorale = 0;
    if (garrison.Count < besiegers) c.CastleMorale += SiegeGain(g, garrison);
    if (g.Rng.Die() < c.CastleMorale) CastleSurrenders(g, ui, n, garrison);
  }
}

}  // namespace milgant
