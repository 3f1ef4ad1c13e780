// The turn: the human's replenishment (2), organisation (27) and action (3) phases, left with
// "フェイズ終了"; then the end-of-turn bookkeeping, the computer's whole phase and the start of
// the human's next turn, in an order that depends on the side the human plays.
#pragma once

#include <array>
#include <string>

namespace milgant {

struct Game;
class Ui;

constexpr int kHumanPointCap = 50;

// One press of "フェイズ終了": 2 -> 27 -> 3 -> (end of turn, computer phase) -> 2. In any other
// state nothing happens.
void PhaseEnd(Game& g, Ui& ui);

// Units of `side` due this turn come onto the map unless the enemy holds their entry hex.
void ReinforcementArrival(Game& g, Ui& ui, int side);
// Replenishment points of `side` for the current turn (0 outside the income table).
int IncomeForTurn(const Game& g, int side);
// The computer spends its replenishment points, the units farthest from the enemy first.
void ComputerReplenishment(Game& g, Ui& ui);
// Action points for the turn: each corps commander and independent general rolls between half
// and all of his corps allotment; his subordinates roll on the same allotment (they may reach
// it) and keep an allotment of their own for when they leave the corps.
void ActionPointRoll(Game& g, int side);
// No unit is marked to attack.
void ResetTargets(Game& g);

// The hexes the human's side has already marked for attack at the start of a new game in
// which the computer moves first, strongest odds first.
struct OpeningBattle {
  int X = 0;
  int Y = 0;
  double Odds = 0.0;
};
struct OpeningBattleList {
  std::array<OpeningBattle, 400> Hexes{};
  int Count = 0;
};
OpeningBattleList OpeningBattles(const Game& g);

// The first turn of a new game, after the set-up: the side-1 player begins at once; against a
// side-0 player the computer plays its first phase first.
void StartFirstTurn(Game& g, Ui& ui);
// After the set-up of a new game: the first turn, then the human's action points for it.
void BeginNewGame(Game& g, Ui& ui);
// "新規": the set-up, the first turn and the human's action points. False when no game was set
// up (the map could not be read).
bool NewGame(Game& g, Ui& ui, const std::string& mapPath = "Map.dat");

}  // namespace milgant
