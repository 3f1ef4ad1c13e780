// Whether a unit reaches one hex, and with how many points, exactly as the movement-range search
// would record it there, for many units of one side in one position (the reinforcement scans).
// The search is walked in its own order, but a step that can no longer end on the hex is not
// followed: the answer is the same and the scratch tables of the game are never touched.
#pragma once

#include <array>
#include <cstdint>

#include "core/game/Header.h"
#include "core/game/HexGrid.h"
#include "core/rules/Occupancy.h"

namespace milgant {

struct Game;

struct Reach {
  bool Reached = false;
  int Remaining = -1;  // MoveRemaining at the hex, as the full search leaves it
};

class ReachFinder {
 public:
  static constexpr int kHexes = kMapSize * kMapSize;
  // The neighbours of every hex by direction 1..6, -1 off the map (one table for all finders).
  using NeighbourTable = std::array<std::array<std::int16_t, 7>, kHexes>;

  // Units of `side` moving by cost row `row` towards `to` (on the map), the game as it stands,
  // none of them with more than `mostPoints` action points. The game must not change while the
  // finder is used.
  ReachFinder(const Game& g, int side, int row, HexPos to, int mostPoints);

  // The range search of a unit on (x, y) with `actionPoints`: whether it records a route to the
  // hex, and the points it leaves there.
  Reach From(int x, int y, int actionPoints);

 private:
  static constexpr int kNever = 1 << 28;  // more points than any step brings

  struct Walk;
  void Step(Walk& w, int h, int from, int budget, int depth);
  // Works out what the search reads of hex h: entry costs, zone, who holds it.
  void Learn(int h);
  void Bound(int mostPoints);

  const Game& g_;
  const NeighbourTable* nb_;
  int side_;
  int row_;
  HexPos to_;
  int target_;
  int mostPoints_;
  bool quick_ = true;  // every step costs at least 1, so the bound holds
  Occupancy occ_;
  std::array<bool, kHexes> known_{};
  std::array<std::array<std::int16_t, 7>, kHexes> cost_{};      // entering the hex by direction d
  std::array<std::array<std::int16_t, 7>, kHexes> zoneCost_{};  // the same with the river paid twice
  std::array<std::int16_t, kHexes> cheapest_{};                 // the cheapest of the six entries
  std::array<std::uint8_t, kHexes> zone_{};
  std::array<std::uint8_t, kHexes> shallows_{};
  std::array<std::uint8_t, kHexes> enemy_{};  // an enemy stack or castle: never entered
  // The fewest points a step into the hex must bring for any route from there to end on the
  // target; kNever where none can with the points of these units (and where a route stops or
  // cannot go: enemy stacks and castles, the enemy's zone, shallows).
  std::array<std::int32_t, kHexes> least_{};
};

}  // namespace milgant
