// The battle operation: the whole fight for one hex, round after round, with sieges,
// escalation, retreats, reinforcements, the garrison, the fall of a castle and the winner's
// advance. The player's attack command and the computer's phase both call it.
#pragma once

namespace milgant {

struct Game;
class Ui;

struct BattleResult {
  int Rounds = 0;                 // rounds fought
  bool CastleFallen = false;
  bool AttackerRetreated = false; // in the last round
  bool DefenderRetreated = false; // in the last round
  int AdvancedUnit = -1;          // the attacking leader that moved in, -1 when none did
};

// Fights the battle for (x, y). The caller marks the attacking units (TargetX, TargetY) and sets
// FullAttack (0: a single battle, 1: an engagement) first. Every message goes to the battle
// window, which is still open when this returns: the caller closes it (ui.BattleClose()).
// Afterwards no unit is marked at (x, y). A hex off the map fights nothing.
BattleResult FightBattle(Game& g, Ui& ui, int x, int y);

}  // namespace milgant
