// One round of a battle: both sides gathered from the attack marks and the battle hex with
// every modifier (fortification, terrain or castle, river, support, command), the fire
// exchange on the combat results table, hits spread over the units by their steps, and a
// loss applied to a unit with its confusion test and annihilation.
#pragma once

#include <array>
#include <string>

#include "core/game/Header.h"
#include "core/game/HexGrid.h"
#include "core/game/Ui.h"

namespace milgant {

struct Game;

// The state of one battle round, gathered anew at the start of every round.
struct BattleState {
  int X = -1;
  int Y = -1;
  UnitList AttackerUnits;    // every unit marked at the hex, ascending slots
  UnitList AttackerLeaders;  // those without a commander
  int AttackerSide = 0;
  int AttackerStrength = 0;
  int AttackerSteps = 0;
  int AttackerModifier = 0;
  double AttackerSupport = 1.0;
  UnitList DefenderUnits;    // the units on the hex
  int DefenderSide = 0;      // the first defender's side, or the castle's holder
  int DefenderStrength = 0;  // garrison included
  int DefenderSteps = 0;
  int DefenderModifier = 0;
  double DefenderSupport = 1.0;
  int BattleCastle = -1;     // castle on the hex, -1 in a field battle
  bool AcrossRiver = true;   // every adjacent attacker strikes across a river
  int TerrainValue = 0;
  int HitsOnDefender = 0;    // signed as read from the table until the escalation test
  int HitsOnAttacker = 0;
};

// Per-unit losses of one side, indexed like the side's list.
using LossTable = std::array<int, kUnitSlots>;

// Both sides at (x, y), before the command factor.
BattleState GatherSides(const Game& g, int x, int y);
// The battle window's view of the gathered sides.
BattleView ViewOf(const Game& g, const BattleState& s);
// Shows the sides in the window; with `arrows` also one attack arrow per adjacent attacker.
void ShowSides(const Game& g, Ui& ui, const BattleState& s, bool arrows);
// Both totals times (attacker modifier - defender modifier + 10) / 10, rounded.
void ApplyCommandFactor(BattleState& s);
// The odds the escalation test reads: whole odds when the attacker is stronger, else minus
// the defender's multiple as a real.
double OddsRatio(const BattleState& s);
// The table's results of one round for the two dice, signed: the attacker fires with its
// strength, the defender with what the attacker's hits have left of its strength.
struct FireResult {
  int HitsOnDefender = 0;
  int HitsOnAttacker = 0;
};
FireResult FireFor(const Game& g, const BattleState& s, int defenderDie, int attackerDie);
// The dice (defender's first) and the table: fills the signed HitsOnDefender / HitsOnAttacker.
void ExchangeFire(Game& g, BattleState& s);
// The hits each side can expect from one round of these strengths (as losses: signs dropped).
struct ExpectedFire {
  double OnDefender = 0;
  double OnAttacker = 0;
};
ExpectedFire ExpectedHits(const Game& g, const BattleState& s);

// Spreads `hits` over `units` by their steps out of `total`. Every unit but the last gets its
// rounded share (none below 1); with `lastTakesRest` the last gets what is left, otherwise its
// share like the others. Returns the hits handed out.
int SpreadHits(const Game& g, const UnitList& units, int total, int hits, bool lastTakesRest, LossTable& loss);

// How a loss is announced.
enum class LossText {
  Attacker,            // "に" n "のダメージ"
  AttackerRetreating,  // "が後退し" n "のダメージ" (a computer attacker falling back)
  Defender,            // "が" n "ポイントのダメージを受けました"
};
// How a confusion is announced.
enum class ConfusionText {
  Unit,   // "が混乱しました。": a computer attacker taking its losses without a retreat decision
  Corps,  // "指揮下の軍勢が混乱しました": after a retreat decision, and every defender
};
std::string LossMessage(const Game& g, int slot, int loss, LossText text);
// Takes `loss` steps from the unit and announces it; with `confusionTest` (and a loss of at least
// one) a die against its commander's morale may confuse it; then its power follows its steps,
// or it is wiped out and removed.
void ApplyLoss(Game& g, Ui& ui, int slot, int loss, LossText text, bool confusionTest, ConfusionText confusion);
// Wipes out a unit still on the map: the message, then removal.
void Annihilate(Game& g, Ui& ui, int slot);

}  // namespace milgant
