// A snapshot of who stands where, taken once before the computer weighs many hexes: the units
// of every hex in slot order (as UnitsAt lists them) and the castle on it. Nothing moves while
// one weighing runs, so the scans need not walk all 140 slots for every hex they look at.
#pragma once

#include <array>
#include <cstdint>

#include "core/game/Header.h"

namespace milgant {

struct Game;

struct Board {
  // First on-map slot of each hex and the next slot on the same hex, -1 ending a list.
  std::array<std::array<std::int16_t, kMapSize>, kMapSize> Head{};
  std::array<std::int16_t, kUnitSlots> Next{};
  std::array<std::array<std::int8_t, kMapSize>, kMapSize> Castle{};  // CastleAt, -1 for none

  int First(int x, int y) const;  // -1 off the map or when empty
  int CastleOn(int x, int y) const;
  int CountOn(int x, int y) const;
};

void BuildBoard(const Game& g, Board& b);

// The side of the first unit on the hex, -1 when empty or off the map.
int FirstSideAt(const Game& g, const Board& b, int x, int y);

}  // namespace milgant
