// Shared pieces of the battle tests: a plain field with a combat results table filled by a
// rule, units marked to attack, and seeds that make the dice fall as a test needs.
#pragma once

#include <functional>
#include <memory>
#include <utility>
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

// Whether (x, y) holds a unit of the other side, or failing that a castle the other side holds.
inline bool EnemyHeld(const Game& g, int x, int y, int side) {
  const int first = FirstUnitAt(g, x, y);
  if (first != -1) return g.U(first).Side != side;
  const int c = CastleAt(g, x, y);
  return c != -1 && g.Castles[static_cast<std::size_t>(c)].Owner != side;
}

// An empty hex on the map that a corps may stand on: no unit, no castle, neither shallows nor sea.
inline bool FreeToStand(const Game& g, HexPos h) {
  if (!OnMapHex(h.X, h.Y) || FirstUnitAt(g, h.X, h.Y) != -1 || CastleAt(g, h.X, h.Y) != -1) return false;
  const int t = g.H(h.X, h.Y).Terrain;
  return t != 5 && t != 7;
}

// The commanders of `side` on the map, in slot order.
inline std::vector<int> Leaders(const Game& g, int side) {
  std::vector<int> leaders;
  for (int slot = 1; slot < kUnitSlots; ++slot) {
    const Unit& u = g.U(slot);
    if (u.OnMap == 1 && u.Side == side && u.CommanderIndex == -1) leaders.push_back(slot);
  }
  return leaders;
}

// Every (hex to stand on, enemy hex beside it) from which `side` could attack, in map order; with
// `stacksOnly` only hexes holding enemy units.
inline std::vector<std::pair<HexPos, HexPos>> AttackSpots(const Game& g, int side, bool stacksOnly) {
  std::vector<std::pair<HexPos, HexPos>> spots;
  for (int x = 0; x < kMapSize; ++x) {
    for (int y = 0; y < kMapSize; ++y) {
      if (!EnemyHeld(g, x, y, side) || (stacksOnly && FirstUnitAt(g, x, y) == -1)) continue;
      for (int d = 1; d <= 6; ++d) {
        const HexPos n = Neighbour(x, y, d);
        if (FreeToStand(g, n)) spots.push_back({n, {x, y}});
      }
    }
  }
  return spots;
}

}  // namespace milgant::test
