// What an attack would look like before the player commits to it: whether the corps may attack
// the hex at all (and why not), the odds the attack command will weigh, the strengths and
// modifiers of the first round, the exact chances of each number of hits in that round, and an
// estimate of how the whole battle ends, fought many times on copies of the game. Nothing here
// changes the game or draws from its generator.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace milgant {

struct Game;

enum class AttackRefusal {
  None,
  NoAttacker,   // no unit of that slot on the map
  NotAdjacent,  // "隣接したへクスを攻撃して下さい"
  OwnUnits,     // "敵ユニットの存在するへクスを攻撃して下さい"
  OwnCastle,    // "敵の城を攻撃して下さい": an empty castle of the attacker's own side
  NoPoints,     // too few action points for what the attack would cost
};

// The checks of the attack command, in its order, for the corps of `attacker` against (x, y).
// The action points are checked last, as the command does once the cost is known.
AttackRefusal CheckAttack(const Game& g, int attacker, int x, int y);
// What the player is told: the attack command's own note texts, and a line for the points.
std::string_view RefusalText(AttackRefusal r);

// The points an attack costs at these odds: one for a single battle at odds of 3 or more, three
// for an engagement below that.
constexpr double kSingleBattleOdds = 3;
inline int AttackCost(double odds) { return odds >= kSingleBattleOdds ? 1 : 3; }

// Marks the corps of `slot` (it and its subordinates) to attack (x, y); (-1, -1) clears it.
void MarkCorps(Game& g, int slot, int x, int y);

struct AttackPreview {
  AttackRefusal Refusal = AttackRefusal::None;
  double Odds = 0;           // the estimate the attack command chooses by
  bool SingleRound = false;  // odds of 3 or more: one round for one point
  int Cost = 0;
  // The first round as the battle will fight it: strengths after every modifier.
  int AttackerStrength = 0;
  int DefenderStrength = 0;
  int AttackerSteps = 0;
  int DefenderSteps = 0;
  int TerrainValue = 0;      // the hex's defence value in percent (a castle replaces it)
  bool AcrossRiver = false;  // the defence counts half again
  bool AttackerFortified = false;
  bool DefenderFortified = false;
  int Castle = -1;           // the castle on the hex, -1 in the field
  double CommandFactor = 1;  // (attacker's - defender's combat modifier + 10) / 10
  // Probability of each number of hits in the first round (index = hits), over the 36 pairs
  // of dice; each list sums to 1.
  std::vector<double> HitsOnAttacker;
  std::vector<double> HitsOnDefender;
};

// The preview of the corps of `attacker` attacking (x, y) with whatever is already marked for
// that hex. Only Refusal is filled when the attack is refused.
AttackPreview PreviewAttack(const Game& g, int attacker, int x, int y);

struct AttackEstimate {
  int Battles = 0;
  double DefenderOut = 0;  // the defender retreated or was destroyed, or the castle fell
  double AttackerOut = 0;  // the attacker fell back or was destroyed
  double Undecided = 0;
  double AttackerLoss = 0;  // mean steps lost
  double DefenderLoss = 0;
};

// Fights the attack `battles` times on copies of the game, each with its own generator seeded
// from `seed` and its number, every question answered by holding on and every reinforcement of
// the attacker's side refused. The same game and seed always give the same estimate. Returns
// an empty estimate when the attack is refused.
AttackEstimate SimulateAttack(const Game& g, int attacker, int x, int y, int battles, std::uint32_t seed);

}  // namespace milgant
