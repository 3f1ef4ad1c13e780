// Shared pieces of the battle tests: a plain field with a combat results table filled by a
// rule, units marked to attack, and seeds that make the dice fall as a test needs.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "AsciiMap.h"
#include "core/game/Game.h"
#include "core/game/Random.h"
#include "core/turn/ScriptedUi.h"

namespace milgant::test {

// Fills the combat results table: entry(column 0..13, die 1..6).
inline void FillCrt(Game& g, const std::function<int(int, int)>& entry) {
  for (int c = 0; c < kCrtColumns; ++c) {
    for (int d = 1; d <= 6; ++d) g.CrtTable[static_cast<std::size_t>(c)][static_cast<std::size_t>(d)] = entry(c, d);
  }
}

// A seed whose first draws Next(bound) give the values wanted, in order.
struct Draw {
  int Bound;
  int Value;
};
inline std::uint32_t SeedFor(const std::vector<Draw>& draws) {
  for (std::uint32_t seed = 1; seed < 50000000u; ++seed) {
    Random r(seed);
    bool ok = true;
    for (const Draw& d : draws) {
      if (r.Next(d.Bound) != d.Value) {
        ok = false;
        break;
      }
    }
    if (ok) return seed;
  }
  return 0;
}

inline void Mark(Game& g, int slot, int x, int y) {
  g.U(slot).TargetX = x;
  g.U(slot).TargetY = y;
}

// A plain field, side 0 played by the human, turn 3, the human's phase.
inline std::unique_ptr<Game> BattleField() {
  auto g = FreshGame();
  DrawMap(*g, "");
  g->PlayerSide = 0;
  g->ComputerSide = 1;
  g->PhaseSide = 0;
  g->Turn = 3;
  g->GameState = 3;
  return g;
}

}  // namespace milgant::test
