// Attack odds at a hex: pressing strength of the marked attackers against the holders, with
// rivers, terrain, castles, leadership, confusion and field fortification.
#include <gtest/gtest.h>

#include "AsciiMap.h"
#include "ai/ForceRatio.h"
#include "game/Scenario.h"

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

}  // namespace
}  // namespace milgant
