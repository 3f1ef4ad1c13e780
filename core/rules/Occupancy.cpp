#include "core/rules/Occupancy.h"

#include "core/game/Game.h"

namespace milgant {

bool Occupancy::HasOtherThan(int x, int y, int side) const {
  const std::uint8_t mask = Sides[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)];
  const std::uint8_t own = side == 0 ? 1 : side == 1 ? 2 : 0;
  return (mask & static_cast<std::uint8_t>(~own)) != 0;
}

void BuildOccupancy(const Game& g, Occupancy& occ) {
  for (auto& column : occ.FirstSide) column.fill(-1);
  for (auto& column : occ.Sides) column.fill(0);
  for (auto& column : occ.HasCastle) column.fill(false);
  // Slots are scanned upwards, so the first unit recorded on a hex is the lowest slot.
  for (int slot = 0; slot < kUnitSlots; ++slot) {
    const Unit& u = g.U(slot);
    if (u.OnMap != 1 || !OnMapHex(u.HexX, u.HexY)) continue;
    const auto x = static_cast<std::size_t>(u.HexX);
    const auto y = static_cast<std::size_t>(u.HexY);
    if (occ.FirstSide[x][y] == -1) occ.FirstSide[x][y] = u.Side;
    occ.Sides[x][y] |= u.Side == 0 ? 1 : u.Side == 1 ? 2 : 4;
  }
  const int last = g.CastleCounter < kCastleSlots ? g.CastleCounter : kCastleSlots;
  for (int n = 1; n < last; ++n) {
    const Castle& c = g.Castles[static_cast<std::size_t>(n)];
    if (!OnMapHex(c.HexX, c.HexY)) continue;
    const auto x = static_cast<std::size_t>(c.HexX);
    const auto y = static_cast<std::size_t>(c.HexY);
    if (occ.HasCastle[x][y]) continue;  // the first castle on a hex is the one that counts
    occ.HasCastle[x][y] = true;
    occ.CastleOwner[x][y] = c.Owner;
  }
}

}  // namespace milgant
