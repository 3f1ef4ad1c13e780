// A snapshot of who stands where, taken once before a range or supply search: the side of the
// first unit on each hex, which sides have units there, and the castle on it. The searches
// visit hexes many times and the state does not change while they run.
#pragma once

#include <array>
#include <cstdint>

#include "core/game/Header.h"

namespace milgant {

struct Game;

struct Occupancy {
  // Side of the lowest-slot unit on the hex, -1 when the hex is empty.
  std::array<std::array<std::int32_t, kMapSize>, kMapSize> FirstSide{};
  // Bit 0: a unit of side 0 stands there; bit 1: side 1; bit 2: a unit of any other side value.
  std::array<std::array<std::uint8_t, kMapSize>, kMapSize> Sides{};
  // Owner of the first castle on the hex (CastleAt), meaningful where HasCastle is set.
  std::array<std::array<std::int32_t, kMapSize>, kMapSize> CastleOwner{};
  std::array<std::array<bool, kMapSize>, kMapSize> HasCastle{};

  int First(int x, int y) const { return FirstSide[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)]; }
  bool Empty(int x, int y) const { return First(x, y) == -1; }
  // Whether a unit of a side other than `side` stands on the hex (any unit, not only the first).
  bool HasOtherThan(int x, int y, int side) const;
  bool CastleNotOwnedBy(int x, int y, int side) const {
    const auto ix = static_cast<std::size_t>(x);
    const auto iy = static_cast<std::size_t>(y);
    return HasCastle[ix][iy] && CastleOwner[ix][iy] != side;
  }
};

void BuildOccupancy(const Game& g, Occupancy& occ);

}  // namespace milgant
