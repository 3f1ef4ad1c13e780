// The stronger computer opponent (「強い」): it reads the war from the castles and the victory
// points, sends its corps toward a few objectives and single generals off to empty cities,
// keeps its capital or its supply castle garrisoned, and weighs every move together with the
// attack it opens by the odds and the losses both sides can expect. It knows what a player
// knows and acts through the same rule functions as the standard opponent; its ties are broken
// by a generator of its own, seeded from the position, so the game's draws stay the rules' own.
#pragma once

#include <array>
#include <cstdint>

#include "core/game/Header.h"
#include "core/game/HexGrid.h"

namespace milgant {

struct Game;
class Ui;

// What the strong opponent reads once at the start of its phase.
struct StrongPicture {
  int Side = 1;   // the side it plays
  int Enemy = 0;
  // Travel cost (road and terrain, no units) from every hex to each castle, and to the
  // castle chosen for each commander.
  std::array<std::array<std::array<std::int16_t, kMapSize>, kMapSize>, kCastleSlots> Travel{};
  std::array<double, kCastleSlots> Worth{};   // what taking (or keeping) the castle is worth
  std::array<int, kUnitSlots> Objective{};    // castle each commander is sent to, -1 none
  std::array<bool, kUnitSlots> Guard{};       // the commander holds its objective, own castle
  std::array<std::array<bool, kMapSize>, kMapSize> Supplied{};
  std::array<std::array<int, kMapSize>, kMapSize> Threat{};  // enemy corps strength that can strike
};

// One decision of a commander: where it goes and what it then attacks ((-1, -1): nothing).
struct StrongChoice {
  HexPos MoveTo{-1, -1};
  HexPos Attack{-1, -1};
  double Score = 0.0;
};

// The whole phase of the computer's side (g.ComputerSide), GameState 15, PhaseSide its side.
void RunStrongPhase(Game& g, Ui& ui);

// The pieces of the phase, for tests.
void ReadPicture(Game& g, StrongPicture& p);
void SendCorps(const Game& g, StrongPicture& p);
// Empty enemy cities no corps will reach this phase: the weakest subordinate that can take one
// alone leaves its corps for it.
void SendRaiders(Game& g, Ui& ui, StrongPicture& p);
// The best move (and attack) for the commander from where it stands with its points. Leaves the
// game as it was (the range tables cleared).
StrongChoice ChooseStrongAction(Game& g, const StrongPicture& p, int slot);
// What the strong opponent expects from the corps of `slot` at `from` attacking `target`:
// above 0 when the attack is worth making. Leaves the game as it was.
double AttackWorth(Game& g, const StrongPicture& p, int slot, HexPos from, HexPos target, int pointsLeft);

}  // namespace milgant
