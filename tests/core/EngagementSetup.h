// The engagement the battle bench times and the quick-search test fights both ways: the
// computer (side 1) attacks a human stack on (10, 9) from two hexes; the defenders have the sea
// at their back and nowhere to go. Fresh computer corps wait within reach of the attackers' hex,
// human corps stand by out of reach. The attackers deal one hit a round and take none, so the
// engagement runs its three rounds.
#pragma once

#include <cstdint>
#include <memory>

#include "core/game/Game.h"
#include "core/game/HexGrid.h"
#include "core/game/Text.h"

namespace milgant::test {

inline constexpr HexPos kBattleHex{10, 9};

inline void PlaceForEngagement(Game& g, int slot, int side, int x, int y, int steps, int power) {
  Unit& u = g.U(slot);
  u = Unit{};
  u.Subordinates.fill(-1);
  u.CommanderIndex = -1;
  u.Side = static_cast<std::uint8_t>(side);
  u.ArmyName.Assign(Cp932(side == 0 ? "ヴァルネ軍" : "ソルカ軍"));
  u.GeneralName.Assign(Cp932("武将"));
  u.HexX = static_cast<std::uint8_t>(x);
  u.HexY = static_cast<std::uint8_t>(y);
  u.Steps = u.MaxSteps = steps;
  u.CombatPower = u.MaxCombatPower = power;
  u.ActionPoints = u.TurnActionPoints = u.MaxActionPoints = u.CorpsActionPoints = 10;
  u.Morale = 4;
  u.Normal = u.OnMap = u.Supplied = u.CanMove = 1;
  u.TargetX = u.TargetY = u.MoveGoalX = u.MoveGoalY = -1;
}

inline std::unique_ptr<Game> Engagement() {
  auto g = std::make_unique<Game>();
  g->PlayerSide = 0;
  g->ComputerSide = 1;
  g->PhaseSide = 1;
  g->Turn = 3;
  for (int c = 0; c < kCrtColumns; ++c) {
    for (int d = 1; d <= 6; ++d) g->CrtTable[static_cast<std::size_t>(c)][static_cast<std::size_t>(d)] = c >= 6 ? 1 : 0;
  }
  const HexPos a1 = Neighbour(kBattleHex.X, kBattleHex.Y, 2);
  const HexPos a2 = Neighbour(kBattleHex.X, kBattleHex.Y, 3);
  for (int d = 1; d <= 6; ++d) {
    const HexPos n = Neighbour(kBattleHex.X, kBattleHex.Y, d);
    if (!(n == a1) && !(n == a2)) g->H(n.X, n.Y).Terrain = 7;
  }
  for (int i = 0; i < 4; ++i) PlaceForEngagement(*g, 1 + i, 0, kBattleHex.X, kBattleHex.Y, 20, 2);
  for (int i = 0; i < 8; ++i) {
    PlaceForEngagement(*g, 5 + i, 0, 4 + (i % 4), 2 + 2 * (i / 4), 10, 10);
    g->U(5 + i).ReinforcementWait = 9;
  }
  PlaceForEngagement(*g, 71, 1, a1.X, a1.Y, 20, 15);
  PlaceForEngagement(*g, 72, 1, a2.X, a2.Y, 20, 15);
  for (const int slot : {71, 72}) {
    g->U(slot).TargetX = kBattleHex.X;
    g->U(slot).TargetY = kBattleHex.Y;
  }
  for (int i = 0; i < 6; ++i) PlaceForEngagement(*g, 73 + i, 1, a1.X + 2 + (i % 2), a1.Y - 1 + (i / 2), 10, 1);
  g->FullAttack = 1;
  return g;
}

}  // namespace milgant::test
