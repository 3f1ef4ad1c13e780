// Reinforcements in an engagement: after a round each side may bring one more corps into the
// battle, the computer choosing by the odds, the human in the battle window.
#pragma once

#include "core/game/HexGrid.h"

namespace milgant {

struct Game;
class Ui;
struct BattleState;

// Units of `side` that can join the attack on (x, y) by reaching `join` (the first attacker's
// hex) with their own action points: independent, unmarked, not yet acted this turn, within 3
// hexes. Each one that qualifies gets its ArrivalActionPoints.
UnitList AttackerCandidates(Game& g, int x, int y, int side, HexPos join);
// Units of `side` standing by (援軍待機) within their standby range of (x, y) that can reach it.
UnitList DefenderCandidates(Game& g, int x, int y, int side);
// Brings unit `slot` (and its subordinates) into the battle on the side of `attacking`.
void JoinBattle(Game& g, Ui& ui, int slot, int x, int y, bool attacking, HexPos join);
// The step after a round: the computer side first, then the human side.
void ReinforcementStep(Game& g, Ui& ui, const BattleState& s);

}  // namespace milgant
