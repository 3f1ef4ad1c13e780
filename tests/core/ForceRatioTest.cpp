// Attack odds at a hex: pressing strength of the marked attackers against the holders, with
// rivers, terrain, castles, leadership, confusion and field fortification.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "AsciiMap.h"
#include "core/combat/ForceRatio.h"
#include "core/game/Scenario.h"

namespace milgant {
namespace {

using test::PlaceUnit;

class Odds : public ::testing::Test {
 protected:
  void SetUp() override {
    g_ = test::FreshGame();
    test::DrawMap(g(), "");
  }
  // A side-0 unit on (4, 5), left of (5, 5), marked to attack it.
  Unit& Attacker(int slot, int power) {
    PlaceUnit(g(), slot, 0, 4, 5, {.CombatPower = power});
    g().U(slot).TargetX = 5;
    g().U(slot).TargetY = 5;
    return g().U(slot);
  }
  Unit& Holder(int slot, int power) {
    PlaceUnit(g(), slot, 1, 5, 5, {.CombatPower = power});
    return g().U(slot);
  }
  Game& g() { return *g_; }
  std::unique_ptr<Game> g_;
};

TEST_F(Odds, AnEmptyHexGivesThePressingSumAndNobodyGivesZero) {
  EXPECT_EQ(AttackOdds(g(), 5, 5, 1), 0.0);
  Attacker(1, 7);
  EXPECT_EQ(AttackOdds(g(), 5, 5, 1), 7.0);
  EXPECT_EQ(AttackOdds(g(), 5, 5, 0), 0.0);  // only attackers not of the side asked about count
}

TEST_F(Odds, ARiverInFrontOfEveryAttackerStrengthensTheDefence) {
  Attacker(1, 10);
  Holder(71, 10);
  EXPECT_DOUBLE_EQ(AttackOdds(g(), 5, 5, 1), 1.0);
  test::MarkRiver(g(), 4, 5, 2);
  EXPECT_DOUBLE_EQ(AttackOdds(g(), 5, 5, 1), 10.0 / 15.0);
  PlaceUnit(g(), 2, 0, 6, 5, {.CombatPower = 10});  // a second attacker without a river
  g().U(2).TargetX = 5;
  g().U(2).TargetY = 5;
  EXPECT_DOUBLE_EQ(AttackOdds(g(), 5, 5, 1), 2.0);
}

TEST_F(Odds, ConfusedHoldersCountHalfRoundedToEven) {
  Attacker(1, 10);
  Holder(71, 5).Normal = 0;
  EXPECT_DOUBLE_EQ(AttackOdds(g(), 5, 5, 1), 5.0);  // 2.5 counts 2
  g().U(71).CombatPower = 7;
  EXPECT_DOUBLE_EQ(AttackOdds(g(), 5, 5, 1), 2.5);  // 3.5 counts 4
}

TEST_F(Odds, FortificationAndLeadershipScaleTheDefence) {
  Attacker(1, 10);
  Holder(71, 10).Fortified = 1;
  EXPECT_DOUBLE_EQ(AttackOdds(g(), 5, 5, 1), 10.0 / 12.0);
  g().U(71).Fortified = 0;
  g().U(71).CombatPower = 20;
  g().U(71).CombatModifier = 15;
  g().U(1).CombatModifier = 12;
  EXPECT_DOUBLE_EQ(AttackOdds(g(), 5, 5, 1), 7.0 / 14.0);  // both sides times 0.7
}

TEST_F(Odds, ACastleReplacesTheTerrainAndAddsItsStrength) {
  Attacker(1, 10);
  Holder(71, 10);
  g().H(5, 5).Terrain = 3;
  EXPECT_DOUBLE_EQ(AttackOdds(g(), 5, 5, 1), 10.0 / 15.0);
  AddCastle(g(), 1, "吉田城", 5, 5, 1, 4, 2, 40, {2, 999, 999, 999, 999});
  EXPECT_DOUBLE_EQ(AttackOdds(g(), 5, 5, 1), 10.0 / 12.0);
}

TEST_F(Odds, TheLocalRatiosCountEachSideWithinItsReach) {
  // Side 1 asks about (5, 5): its own units within 2 press, side 0's within 4 (wide) or 2
  // (near) hold. Units placed along row 5 at the distances given.
  struct Case {
    const char* what;
    std::vector<std::pair<int, int>> side1;  // (distance, power)
    std::vector<std::pair<int, int>> side0;
    double wide;
    double nearRatio;
  };
  const std::vector<Case> cases = {
      {"nobody", {}, {}, 0.0, 0.0},
      {"only pressing units give their sum", {{1, 6}, {2, 4}}, {}, 10.0, 10.0},
      {"a pressing unit 3 off does not count", {{3, 6}}, {{1, 4}}, 0.0, 0.0},
      {"holders 3 and 4 off count only wide", {{1, 12}}, {{3, 4}, {4, 2}}, 2.0, 12.0},
      {"holders 5 off count nowhere", {{1, 12}}, {{5, 4}}, 12.0, 12.0},
      // A presser on the hex itself faces it across no hexside: the river factor stays 1.5.
      {"the hex itself is within reach of both", {{0, 8}}, {{0, 4}}, 8.0 / 6.0, 8.0 / 6.0},
  };
  for (const Case& c : cases) {
    SetUp();
    int slot1 = 71;
    int slot0 = 1;
    for (const auto& [dist, power] : c.side1) PlaceUnit(g(), slot1++, 1, 5 + dist, 5, {.CombatPower = power});
    for (const auto& [dist, power] : c.side0) PlaceUnit(g(), slot0++, 0, 5 - dist, 5, {.CombatPower = power});
    // Wherever a pressing unit stands next to the hex there is no river: the river factor is 1.
    EXPECT_DOUBLE_EQ(LocalRatioWide(g(), 5, 5, 1), c.wide) << c.what;
    EXPECT_DOUBLE_EQ(LocalRatioNear(g(), 5, 5, 1), c.nearRatio) << c.what;
  }
}

TEST_F(Odds, TheLocalRatiosShareTheRiverTerrainAndLeadershipRules) {
  PlaceUnit(g(), 71, 1, 6, 5, {.CombatPower = 15});
  PlaceUnit(g(), 1, 0, 5, 5, {.CombatPower = 10});
  EXPECT_DOUBLE_EQ(LocalRatioNear(g(), 5, 5, 1), 1.5);
  test::MarkRiver(g(), 6, 5, 5);  // every adjacent presser across a river
  EXPECT_DOUBLE_EQ(LocalRatioNear(g(), 5, 5, 1), 1.0);
  g().H(5, 5).Terrain = 3;        // mountain: 1.5 + 1.0 + 1.5 - 2 = 2.0 times the holders
  EXPECT_DOUBLE_EQ(LocalRatioNear(g(), 5, 5, 1), 15.0 / 20.0);
  g().U(71).CombatModifier = 5;   // both sums times 1.5
  EXPECT_DOUBLE_EQ(LocalRatioWide(g(), 5, 5, 1), 22.0 / 30.0);
  g().U(1).Fortified = 1;         // after the leadership scaling: 30 x 1.2
  EXPECT_DOUBLE_EQ(LocalRatioWide(g(), 5, 5, 1), 22.0 / 36.0);
  g().DefenceFactor = 1.5;        // support adds its excess: 25, then 37.5 -> 38, then 45.6 -> 46
  EXPECT_DOUBLE_EQ(LocalRatioWide(g(), 5, 5, 1), 22.0 / 46.0);
}

}  // namespace
}  // namespace milgant
