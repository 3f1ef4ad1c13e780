// The attack preview: the exact chances of one round worked out by hand over the 36 pairs of
// dice, the refusals in the attack command's own words, and a preview that leaves the game and
// its generator exactly as they were while its estimate never changes for the same position.
#include <gtest/gtest.h>

#include <memory>
#include <numeric>
#include <vector>

#include "BattleTestSupport.h"
#include "core/combat/ForceRatio.h"
#include "core/game/RuleTables.h"
#include "core/game/SaveImage.h"
#include "core/game/Scenario.h"
#include "core/turn/AttackPreview.h"
#include "core/turn/PhaseSequence.h"
#include "core/turn/SelfPlay.h"

namespace milgant {
namespace {

using test::Mark;
using test::PlaceUnit;

std::vector<double> Sixths(const std::vector<int>& counts) {
  std::vector<double> out;
  for (const int n : counts) out.push_back(n / 36.0);
  return out;
}

struct RoundCase {
  const char* What;
  void (*SetUp)(Game&);
  int AttackerStrength, DefenderStrength;
  double CommandFactor;
  std::vector<int> OnDefender, OnAttacker;  // counts of the 36 pairs of dice, index = hits
};

// Unit 1 (side 0, the player) at (4, 5) attacks (5, 5).
const std::vector<RoundCase>& RoundCases() {
  static const std::vector<RoundCase> cases = {
      // Table: hits = column + die - 1. Attacker power 8, modifier 2; defender 71 power 6,
      // 6 steps, modifier 0, on plain ground of value 0, no river: round((1 + 1 + 1 - 2) x 6) = 6.
      // Command (2 - 0 + 10) / 10 = 1.2: attacker round(9.6) = 10, defender round(7.2) = 7.
      // Attacker column 4 (7-10): 3 + die, 4..9 hits, one die each: 6 of 36 for each.
      // Return fire round((6 - h) / 6 x 7): h = 4: round(2.33) = 2, column 1; h = 5: round(1.17)
      // = 1, h = 6: 0, h >= 7: negative, all column 0. Column 1 gives die hits 1..6, column 0
      // gives 0..5: for the attacker's die 1 (1 in 6) the defender's die d gives d hits, for the
      // other five d - 1. Counts: 0: 5; 1..5: 5 + 1 = 6 each; 6: 1.
      {"field",
       [](Game& g) {
         test::FillCrt(g, [](int c, int d) { return c + d - 1; });
         g.TerrainTypes[1].DefenceBonus = 0;
         PlaceUnit(g, 1, 0, 4, 5, {.Steps = 10, .CombatPower = 8});
         PlaceUnit(g, 71, 1, 5, 5, {.Steps = 6, .CombatPower = 6});
         g.U(1).CombatModifier = 2;
         g.U(71).CombatModifier = 0;
       },
       10, 7, 1.2, {0, 0, 0, 0, 6, 6, 6, 6, 6, 6}, {5, 6, 6, 6, 6, 6, 1}},
      // Table: hits = column - die, so most entries are negative and hurt by their size.
      // An empty castle of side 1: durability 4, strength 3. Attacker power 5, modifiers 0:
      // factor 1. Defender round(0) + 3 = 3 with 4 steps (the walls).
      // Attacker column 3 (5-6): 3 - die = 2, 1, 0, -1, -2, -3: sizes 0: 1, 1: 2, 2: 2, 3: 1 (x 6).
      // Return fire round((4 - h) / 4 x 3), half to even: h = 2: 1.5 -> 2 and h = 1: 2.25 -> 2,
      // column 1; h = 0: 3, h = -1: 3.75 -> 4, h = -2: 4.5 -> 4, column 2; h = -3: 5.25 -> 5,
      // column 3. Column c gives |c - d| for the defender's die d:
      //   column 1 (2 attacker dice): 0, 1, 2, 3, 4, 5 -> 2 each;
      //   column 2 (3 dice): 1, 0, 1, 2, 3, 4 -> 0: 3, 1: 6, 2: 3, 3: 3, 4: 3;
      //   column 3 (1 die): 2, 1, 0, 1, 2, 3 -> 0: 1, 1: 2, 2: 2, 3: 1.
      // Sums: 0: 6, 1: 10, 2: 7, 3: 6, 4: 5, 5: 2.
      {"castle",
       [](Game& g) {
         test::FillCrt(g, [](int c, int d) { return c - d; });
         AddCastle(g, 1, "吉田城", 5, 5, 1, 4, 3, 40, {999, 999, 999, 999, 999});
         PlaceUnit(g, 1, 0, 4, 5, {.Steps = 10, .CombatPower = 5});
         g.U(1).CombatModifier = 0;
       },
       5, 3, 1.0, {6, 12, 12, 6}, {6, 10, 7, 6, 5, 2}},
  };
  return cases;
}

TEST(AttackPreview, OneRoundsChancesAreWorkedOutOverEveryPairOfDice) {
  for (const RoundCase& c : RoundCases()) {
    SCOPED_TRACE(c.What);
    auto g = test::BattleField();
    c.SetUp(*g);
    const AttackPreview p = PreviewAttack(*g, 1, 5, 5);
    ASSERT_EQ(p.Refusal, AttackRefusal::None);
    EXPECT_EQ(p.AttackerStrength, c.AttackerStrength);
    EXPECT_EQ(p.DefenderStrength, c.DefenderStrength);
    EXPECT_DOUBLE_EQ(p.CommandFactor, c.CommandFactor);
    EXPECT_EQ(p.HitsOnDefender, Sixths(c.OnDefender));
    EXPECT_EQ(p.HitsOnAttacker, Sixths(c.OnAttacker));
    EXPECT_DOUBLE_EQ(std::accumulate(p.HitsOnAttacker.begin(), p.HitsOnAttacker.end(), 0.0), 1.0);
    // The odds are the attack command's own estimate with the corps marked.
    Game marked = *g;
    Mark(marked, 1, 5, 5);
    EXPECT_DOUBLE_EQ(p.Odds, AttackOdds(marked, 5, 5, 1));
    EXPECT_EQ(p.SingleRound, p.Odds >= 3);
    EXPECT_EQ(p.Cost, p.SingleRound ? 1 : 3);
    EXPECT_EQ(p.Castle, std::string(c.What) == "castle" ? 1 : -1);
  }
}

TEST(AttackPreview, RefusalsSayWhyInTheAttackCommandsWords) {
  auto g = test::BattleField();
  PlaceUnit(*g, 1, 0, 4, 5);
  PlaceUnit(*g, 2, 0, 5, 5);
  PlaceUnit(*g, 71, 1, 3, 5);
  AddCastle(*g, 1, "吉田城", 4, 4, 0, 4, 3, 40, {999, 999, 999, 999, 999});
  AddCastle(*g, 2, "京", 5, 4, 1, 4, 3, 40, {999, 999, 999, 999, 999});
  struct Case {
    int Slot, X, Y;
    AttackRefusal Why;
    const char* Text;
  };
  const Case cases[] = {
      {1, 3, 5, AttackRefusal::None, ""},
      {1, 5, 4, AttackRefusal::None, ""},  // an empty castle of the enemy
      {1, 7, 5, AttackRefusal::NotAdjacent, "隣接したへクスを攻撃して下さい"},
      {1, 5, 5, AttackRefusal::OwnUnits, "敵ユニットの存在するへクスを攻撃して下さい"},
      {1, 4, 4, AttackRefusal::OwnCastle, "敵の城を攻撃して下さい"},
      {3, 3, 5, AttackRefusal::NoAttacker, "攻撃する部隊がいません"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CheckAttack(*g, c.Slot, c.X, c.Y), c.Why) << c.X << "," << c.Y;
    EXPECT_EQ(RefusalText(c.Why), c.Text);
    EXPECT_EQ(PreviewAttack(*g, c.Slot, c.X, c.Y).Refusal, c.Why);
  }
  // An engagement costs three points: with two the attack is refused, with one a single battle
  // at odds of 3 or more is not.
  g->U(1).ActionPoints = 2;
  ASSERT_LT(PreviewAttack(*g, 1, 3, 5).Odds, 3);
  ASSERT_FALSE(PreviewAttack(*g, 1, 5, 4).Odds < 3);
  EXPECT_EQ(CheckAttack(*g, 1, 3, 5), AttackRefusal::NoPoints);
  EXPECT_EQ(RefusalText(AttackRefusal::NoPoints), "行動ポイントが足りません");
  g->U(1).ActionPoints = 1;
  EXPECT_EQ(CheckAttack(*g, 1, 5, 4), AttackRefusal::None);
}

// A real game a few turns in, with a player's corps next to an enemy stack.
struct Contact {
  std::unique_ptr<Game> G;
  int Slot = -1;
  HexPos Target{-1, -1};
};

Contact FindContact() {
  for (std::uint32_t seed = 1; seed < 20; ++seed) {
    Contact c;
    c.G = std::make_unique<Game>();
    EXPECT_TRUE(LoadCrt(*c.G, std::string(MILGANT_DATA_DIR) + "/CRT.txt").Ok);
    SelfPlayOptions o{.HumanSide = 0, .Turns = 5, .Seed = seed, .MapPath = std::string(MILGANT_DATA_DIR) + "/Map.dat"};
    PlaySelf(*c.G, o);
    Game& g = *c.G;
    for (int slot = 1; slot < kUnitSlots; ++slot) {
      const Unit& u = g.U(slot);
      if (u.OnMap != 1 || u.Side != g.PlayerSide || u.CommanderIndex != -1 || u.SubordinateCount == 0) continue;
      for (int d = 1; d <= 6; ++d) {
        const HexPos n = Neighbour(u.HexX, u.HexY, d);
        if (!OnMapHex(n.X, n.Y) || UnitsAt(g, n.X, n.Y).Count == 0) continue;
        if (g.U(UnitsAt(g, n.X, n.Y).First()).Side == g.PlayerSide) continue;
        g.U(slot).ActionPoints = 8;
        c.Slot = slot;
        c.Target = n;
        return c;
      }
    }
  }
  return {};
}

TEST(AttackPreview, PreviewingChangesNothingAndGivesTheSameEstimateTwice) {
  Contact c = FindContact();
  ASSERT_NE(c.Slot, -1);
  Game& g = *c.G;
  Snapshot(g);
  const auto image = g.SaveImage;
  const std::uint32_t seed = g.Rng.Seed();

  const AttackPreview p = PreviewAttack(g, c.Slot, c.Target.X, c.Target.Y);
  ASSERT_EQ(p.Refusal, AttackRefusal::None);
  const AttackEstimate a = SimulateAttack(g, c.Slot, c.Target.X, c.Target.Y, 60, 5);
  const AttackEstimate b = SimulateAttack(g, c.Slot, c.Target.X, c.Target.Y, 60, 5);
  EXPECT_EQ(g.Rng.Seed(), seed);
  Snapshot(g);
  EXPECT_EQ(g.SaveImage, image);

  EXPECT_EQ(a.Battles, 60);
  EXPECT_DOUBLE_EQ(a.DefenderOut + a.AttackerOut + a.Undecided, 1.0);
  EXPECT_EQ(a.DefenderOut, b.DefenderOut);
  EXPECT_EQ(a.AttackerOut, b.AttackerOut);
  EXPECT_EQ(a.AttackerLoss, b.AttackerLoss);
  EXPECT_EQ(a.DefenderLoss, b.DefenderLoss);
  EXPECT_GT(a.AttackerLoss + a.DefenderLoss, 0.0);
  // Another seed fights other battles.
  const AttackEstimate other = SimulateAttack(g, c.Slot, c.Target.X, c.Target.Y, 60, 6);
  EXPECT_TRUE(other.AttackerLoss != a.AttackerLoss || other.DefenderLoss != a.DefenderLoss);

  EXPECT_EQ(SimulateAttack(g, c.Slot, c.Target.X, c.Target.Y, 0, 5).Battles, 0);
}

}  // namespace
}  // namespace milgant
