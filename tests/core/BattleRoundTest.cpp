// One battle round's arithmetic: both sides' strengths with every modifier, the fire exchange
// with its dice order, hits spread by steps, and a loss with its confusion test.
#include <gtest/gtest.h>

#include "BattleTestSupport.h"
#include "core/combat/BattleRound.h"
#include "core/game/Scenario.h"

namespace milgant {
namespace {

using test::Mark;
using test::PlaceUnit;

class Round : public ::testing::Test {
 protected:
  void SetUp() override { g_ = test::BattleField(); }
  // A side-0 attacker left of (5, 5), marked at it.
  Unit& Attacker(int slot, int power, int steps = 10) {
    PlaceUnit(g(), slot, 0, 4, 5, {.Steps = steps, .CombatPower = power});
    Mark(g(), slot, 5, 5);
    return g().U(slot);
  }
  Unit& Defender(int slot, int power, int steps = 10) {
    PlaceUnit(g(), slot, 1, 5, 5, {.Steps = steps, .CombatPower = power});
    return g().U(slot);
  }
  BattleState Sides() {
    BattleState s = GatherSides(g(), 5, 5);
    ApplyCommandFactor(s);
    return s;
  }
  Game& g() { return *g_; }
  std::unique_ptr<Game> g_;
  ScriptedUi ui_;
};

TEST_F(Round, StrengthsCarryEveryModifier) {
  struct Case {
    const char* what;
    std::function<void(Game&)> setUp;
    int attacker;
    int defender;
  };
  const std::vector<Case> cases = {
      {"plain field", [](Game&) {}, 10, 10},
      {"confused 7 counts 4", [](Game& g) { g.U(1).CombatPower = 7; g.U(1).Normal = 0; }, 4, 10},
      {"confused 5 counts 2", [](Game& g) { g.U(1).CombatPower = 5; g.U(1).Normal = 0; }, 2, 10},
      {"confused defenders are not halved", [](Game& g) { g.U(71).Normal = 0; }, 10, 10},
      {"terrain 30, river, support 1: factor 1.8",
       [](Game& g) {
         g.TerrainTypes[2].DefenceBonus = 30;
         g.H(5, 5).Terrain = 2;
         test::MarkRiver(g, 4, 5, 2);
       },
       10, 18},
      {"one attacker without a river is enough",
       [](Game& g) {
         test::MarkRiver(g, 4, 5, 2);
         PlaceUnit(g, 2, 0, 6, 5, {.CombatPower = 5});
         Mark(g, 2, 5, 5);
       },
       15, 10},
      {"attackers further off leave the river as it is",
       [](Game& g) {
         test::MarkRiver(g, 4, 5, 2);
         PlaceUnit(g, 2, 0, 8, 5, {.CombatPower = 5});
         Mark(g, 2, 5, 5);
       },
       15, 15},
      {"fortified attackers and defenders",
       [](Game& g) { g.U(1).Fortified = 1; g.U(71).Fortified = 1; }, 12, 12},
      {"command 12 against 15 makes both 0.7",
       [](Game& g) {
         g.U(1).CombatPower = 20;
         g.U(1).CombatModifier = 12;
         g.U(71).CombatModifier = 15;
       },
       14, 7},
      {"a subordinate's modifier does not lead",
       [](Game& g) {
         PlaceUnit(g, 2, 0, 4, 5, {.CombatPower = 10});
         test::Attach(g, 1, 2);
         Mark(g, 2, 5, 5);
         g.U(2).CombatModifier = 10;
       },
       20, 10},
      {"support helps side 1 in mode 2",
       [](Game& g) { g.DefenceFactorMode = 2; g.DefenceFactor = 1.5; }, 10, 15},
      {"support helps side 0 in mode 3",
       [](Game& g) { g.DefenceFactorMode = 3; g.DefenceFactor = 1.5; }, 15, 10},
      {"a castle ignores the terrain and adds its garrison",
       [](Game& g) {
         g.H(5, 5).Terrain = 8;
         AddCastle(g, 1, "吉田城", 5, 5, 1, 4, 6, 40, {999, 999, 999, 999, 999});
       },
       10, 16},
  };
  for (const Case& c : cases) {
    SetUp();
    Attacker(1, 10);
    Defender(71, 10);
    c.setUp(g());
    const BattleState s = Sides();
    EXPECT_EQ(s.AttackerStrength, c.attacker) << c.what;
    EXPECT_EQ(s.DefenderStrength, c.defender) << c.what;
  }
}

TEST_F(Round, TheCastleHexShowsItsTerrainValueAndCountsTheGarrisonSteps) {
  Attacker(1, 10);
  Defender(71, 10, 6);
  g().H(5, 5).Terrain = 10;  // a large city, defence 50
  AddCastle(g(), 1, "吉田城", 5, 5, 1, 4, 6, 40, {999, 999, 999, 999, 999});
  const BattleState s = Sides();
  EXPECT_EQ(s.TerrainValue, 50);
  EXPECT_EQ(s.BattleCastle, 1);
  EXPECT_EQ(s.DefenderSteps, 10);
  EXPECT_EQ(s.DefenderSide, 1);
  EXPECT_EQ(s.AttackerLeaders.Count, 1);
  // Held by the garrison alone, the castle fights for its holder.
  g().U(71).OnMap = 0;
  const BattleState alone = Sides();
  EXPECT_EQ(alone.DefenderUnits.Count, 0);
  EXPECT_EQ(alone.DefenderSide, 1);
  EXPECT_EQ(alone.DefenderStrength, 6);
}

TEST_F(Round, TheOddsRatioHasWholeOddsAndNegativeMultiples) {
  BattleState s;
  const struct {
    int a, d;
    double ratio;
  } cases[] = {{10, 3, 3.0}, {7, 2, 3.0}, {5, 0, 5.0}, {0, 0, 0.0}, {3, 6, -2.0}, {4, 5, -1.25}, {0, 5, 0.0}};
  for (const auto& c : cases) {
    s.AttackerStrength = c.a;
    s.DefenderStrength = c.d;
    EXPECT_DOUBLE_EQ(OddsRatio(s), c.ratio) << c.a << ":" << c.d;
  }
}

TEST_F(Round, TheDefendersDieComesFirstAndReturnFireIsWeakenedByItsHits) {
  // Column 5 always deals 6 hits; column 0 tells which die it was read with.
  test::FillCrt(g(), [](int c, int d) { return c == 5 ? 6 : c == 0 ? 40 + d : 0; });
  BattleState s;
  s.AttackerStrength = 12;  // column 5
  s.DefenderSteps = 4;
  s.DefenderStrength = 20;  // round(-2/4 x 20) = -10: column 0
  const std::uint32_t seed = test::SeedFor({{6, 1}, {6, 4}});
  g().Rng.SetSeed(seed);
  ExchangeFire(g(), s);
  EXPECT_EQ(s.HitsOnDefender, 6);
  EXPECT_EQ(s.HitsOnAttacker, 42);  // the defender's die (2), drawn first
  // Barely hurt, the defender fires with nearly its whole strength: round(19.9) is column 6.
  test::FillCrt(g(), [](int c, int d) { return c * 10 + d; });
  s.DefenderSteps = 10000;
  g().Rng.SetSeed(seed);
  ExchangeFire(g(), s);
  EXPECT_EQ(s.HitsOnDefender, 55);
  EXPECT_EQ(s.HitsOnAttacker, 62);
}

TEST_F(Round, HitsAreSpreadByStepsWithTheRestOnTheLast) {
  struct Case {
    std::vector<int> steps;
    int hits;
    bool lastTakesRest;
    std::vector<int> losses;
    int given;
  };
  const std::vector<Case> cases = {
      {{3, 5}, 5, true, {2, 3}, 5},
      {{3, 5}, 5, false, {2, 3}, 5},
      {{1, 9}, 2, true, {0, 2}, 2},       // a share below 1 is none
      {{5, 5}, 1, true, {0, 1}, 1},       // 0.5 rounds to 0
      {{5, 5, 2}, 3, false, {1, 1, 0}, 2},  // a siege: shares only, the rest is the garrison's
      {{5, 5, 2}, 3, true, {1, 1, 1}, 3},
      {{4, 4}, 3, true, {2, 1}, 3},       // 1.5 rounds to 2
      {{6, 6}, 1, true, {0, 1}, 1},
      {{10, 10}, 12, true, {6, 6}, 12},
      {{2, 2}, 6, true, {3, 3}, 6},
      {{7, 1}, 2, true, {2, 0}, 2},       // nothing left for the last
  };
  for (const Case& c : cases) {
    SetUp();
    UnitList list;
    int total = 0;
    for (std::size_t i = 0; i < c.steps.size(); ++i) {
      PlaceUnit(g(), static_cast<int>(i) + 1, 0, 4, 5, {.Steps = c.steps[i]});
      list.Slots[i] = static_cast<int>(i) + 1;
      ++list.Count;
      total += c.steps[i];
    }
    LossTable loss{};
    EXPECT_EQ(SpreadHits(g(), list, total, c.hits, c.lastTakesRest, loss), c.given);
    for (std::size_t i = 0; i < c.losses.size(); ++i) EXPECT_EQ(loss[i], c.losses[i]) << c.hits << " unit " << i;
  }
  // Without steps every share is 0 and the last takes everything.
  UnitList none;
  none.Count = 2;
  none.Slots[0] = 1;
  none.Slots[1] = 2;
  LossTable loss{};
  SpreadHits(g(), none, 0, 4, true, loss);
  EXPECT_EQ(loss[0], 0);
  EXPECT_EQ(loss[1], 4);
}

TEST_F(Round, ConfusionFollowsTheCommandersMorale) {
  for (int morale = 1; morale <= 6; ++morale) {
    for (int die = 1; die <= 6; ++die) {
      SetUp();
      PlaceUnit(g(), 1, 0, 4, 5, {.Steps = 10, .CombatPower = 10, .Morale = morale});
      PlaceUnit(g(), 2, 0, 4, 5, {.Steps = 10, .CombatPower = 10, .Morale = 6});
      test::Attach(g(), 1, 2);
      g().Rng.SetSeed(test::SeedFor({{6, die - 1}}));
      ApplyLoss(g(), ui_, 2, 4, LossText::Defender, true, ConfusionText::Corps);
      EXPECT_EQ(g().U(2).Normal, die >= morale ? 0 : 1) << "morale " << morale << " die " << die;
      EXPECT_EQ(g().U(2).Steps, 6);
      EXPECT_EQ(g().U(2).CombatPower, 6);
    }
  }
}

TEST_F(Round, LossesAreAnnouncedAndTheLastStepWipesAUnitOut) {
  PlaceUnit(g(), 1, 0, 4, 5, {.Steps = 3, .CombatPower = 9, .Morale = 1});
  PlaceUnit(g(), 71, 1, 5, 5);
  g().Rng.SetSeed(test::SeedFor({{6, 0}, {6, 3}}));  // confused, then the general survives
  ApplyLoss(g(), ui_, 1, 1, LossText::Attacker, true, ConfusionText::Unit);
  ApplyLoss(g(), ui_, 1, 2, LossText::AttackerRetreating, false, ConfusionText::Unit);
  const std::vector<std::string> want = {"ヴァルネ軍 武将1に1のダメージ", "ヴァルネ軍 武将1が混乱しました。",
                                         "ヴァルネ軍 武将1が後退し2のダメージ", "ヴァルネ軍 武将1が全滅しました"};
  EXPECT_EQ(ui_.TextsOf("battle"), want);
  EXPECT_EQ(g().U(1).OnMap, 0);
  EXPECT_EQ(g().U(1).Steps, 1);  // back with a third of its steps, some turns later
  ApplyLoss(g(), ui_, 71, 0, LossText::Defender, true, ConfusionText::Corps);
  EXPECT_EQ(ui_.TextsOf("battle").back(), "ソルカ軍 武将71が0ポイントのダメージを受けました");
  EXPECT_EQ(test::BrokenInvariants(g()), "");
}

}  // namespace
}  // namespace milgant
