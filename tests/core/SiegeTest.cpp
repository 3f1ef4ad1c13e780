// The siege step and what it leads to: the gain by garrison rank, the reset when the garrison
// outnumbers the besiegers, the surrender with its owner and terrain change, and the removal
// of the units inside (their troops' return, or their general's death).
#include <gtest/gtest.h>

#include <array>

#include "AsciiMap.h"
#include "core/rules/CastleFall.h"
#include "core/rules/UnitRemoval.h"
#include "core/game/Scenario.h"
#include "core/turn/ScriptedUi.h"
#include "core/rules/Siege.h"

namespace milgant {
namespace {

using test::PlaceUnit;

class Siege : public ::testing::Test {
 protected:
  void SetUp() override {
    g_ = test::FreshGame();
    test::DrawMap(g(), "");
    g().H(10, 10).Terrain = 8;
    AddCastle(g(), 1, "吉田城", 10, 10, 1, 4, 2, 40, {2, 999, 999, 999, 999});
    g().PlayerSide = 0;
    g().ComputerSide = 1;
    g().Turn = 3;
  }
  Castle& castle() { return g().Castles[1]; }
  // A seed whose first die shows `face`.
  static std::uint32_t SeedForDie(int face) {
    for (std::uint32_t seed = 1;; ++seed) {
      Random r(seed);
      if (r.Die() == face) return seed;
    }
  }
  Game& g() { return *g_; }
  std::unique_ptr<Game> g_;
  ScriptedUi ui_;
};

TEST_F(Siege, TheGainFollowsTheHighestRankInside) {
  constexpr std::array<std::array<int, 6>, 4> table = {{
      {0, 1, 1, 2, 2, 3}, {0, 0, 1, 1, 2, 2}, {0, 0, 0, 1, 1, 2}, {0, 0, 0, 0, 1, 1}}};
  PlaceUnit(g(), 71, 1, 10, 10, {.Rank = 0});
  PlaceUnit(g(), 72, 1, 10, 10, {.Rank = 2});
  PlaceUnit(g(), 73, 1, 10, 10, {.Rank = 1});
  for (int rank = -1; rank <= 2; ++rank) {
    UnitList garrison;
    garrison.Slots.fill(-1);
    if (rank >= 0) {
      garrison.Slots[0] = 71;  // a general, whatever the highest is
      garrison.Slots[1] = 71 + (rank == 2 ? 1 : rank == 1 ? 2 : 0);
      garrison.Count = 2;
    }
    for (int face = 1; face <= 6; ++face) {
      g().Rng.SetSeed(SeedForDie(face));
      EXPECT_EQ(SiegeGain(g(), garrison), table[static_cast<std::size_t>(rank + 1)][static_cast<std::size_t>(face - 1)])
          << "rank " << rank << " die " << face;
    }
  }
}

TEST_F(Siege, OutnumberedBesiegersResetTheMoraleEqualNumbersLeaveIt) {
  PlaceUnit(g(), 71, 1, 10, 10);
  PlaceUnit(g(), 72, 1, 10, 10);
  PlaceUnit(g(), 1, 0, 11, 10);
  castle().CastleMorale = 5;
  g().Rng.SetSeed(SeedForDie(6));
  SiegeStep(g(), ui_, 0);
  EXPECT_EQ(castle().CastleMorale, 0);
  EXPECT_EQ(castle().Owner, 1);

  PlaceUnit(g(), 2, 0, 9, 10);
  castle().CastleMorale = 3;
  const std::uint32_t seed = SeedForDie(6);  // no surrender
  Random expect(seed);
  g().Rng.SetSeed(seed);
  SiegeStep(g(), ui_, 0);
  expect.Die();  // only the surrender roll
  EXPECT_EQ(g().Rng.Seed(), expect.Seed());
  EXPECT_EQ(castle().CastleMorale, 3);
}

TEST_F(Siege, ACastleOfTheActingSideOrWithoutBesiegersIsLeftAlone) {
  PlaceUnit(g(), 1, 0, 11, 10);
  castle().CastleMorale = 9;
  g().Rng.SetSeed(5);
  SiegeStep(g(), ui_, 1);
  EXPECT_EQ(g().Rng.Seed(), 5u);
  g().U(1).HexX = 15;
  SiegeStep(g(), ui_, 0);
  EXPECT_EQ(g().Rng.Seed(), 5u);
  EXPECT_EQ(castle().Owner, 1);
}

TEST_F(Siege, AnEmptyCastleWearsDownAndSurrenders) {
  PlaceUnit(g(), 1, 0, 11, 10);
  g().Rng.SetSeed(4242);
  int phases = 0;
  int last = 0;
  while (castle().Owner == 1 && phases < 100) {
    SiegeStep(g(), ui_, 0);
    ++phases;
    if (castle().Owner == 1) {
      EXPECT_GE(castle().CastleMorale - last, 0);
      EXPECT_LE(castle().CastleMorale - last, 3);
      last = castle().CastleMorale;
    }
  }
  ASSERT_EQ(castle().Owner, 0);
  EXPECT_GE(last, 1);  // never surrenders while its morale is 1 or less: the roll must fall below it
  EXPECT_EQ(castle().CastleMorale, 0);
  EXPECT_EQ(g().H(10, 10).Terrain, 8);
  EXPECT_EQ(g().VictoryPoints, -1);
  ASSERT_FALSE(ui_.TextsOf("battle").empty());
  EXPECT_EQ(ui_.TextsOf("battle").back(), "吉田城は降伏しました。");
}

TEST_F(Siege, TheGarrisonOfASurrenderedCastleIsWipedOut) {
  PlaceUnit(g(), 71, 1, 10, 10, {.Steps = 9, .CombatPower = 12, .ActionPoints = 4});
  PlaceUnit(g(), 1, 0, 11, 10);
  PlaceUnit(g(), 2, 0, 9, 10);
  castle().CastleMorale = 7;  // any roll is below it
  castle().Durability = 2;
  castle().Strength = 1;
  SiegeStep(g(), ui_, 0);
  EXPECT_EQ(castle().Owner, 0);
  EXPECT_EQ(castle().Durability, 2);  // a surrender does not restore the walls
  EXPECT_EQ(castle().Strength, castle().MaxStrength);
  EXPECT_EQ(g().U(71).OnMap, 0);
  const auto texts = ui_.TextsOf("battle");
  ASSERT_GE(texts.size(), 2u);
  EXPECT_EQ(texts[1], "ソルカ軍 武将71が全滅しました");
  EXPECT_EQ(test::BrokenInvariants(g()), "");
}

class Removal : public Siege {};

TEST_F(Removal, AUnitStillOnTheMapIsNotRemoved) {
  PlaceUnit(g(), 71, 1, 10, 10);
  g().Rng.SetSeed(8);
  RemoveUnit(g(), ui_, 71);
  EXPECT_EQ(g().Rng.Seed(), 8u);
  EXPECT_EQ(g().U(71).HexX, 10);
}

TEST_F(Removal, ADieOfThreeKillsTheGeneral) {
  PlaceUnit(g(), 71, 1, 10, 10);
  PlaceUnit(g(), 72, 1, 10, 10);
  PlaceUnit(g(), 73, 1, 10, 10);
  test::Attach(g(), 71, 72);
  test::Attach(g(), 72, 73);
  g().U(72).OnMap = 0;
  g().U(72).EntryTurn = 0;
  g().U(72).TargetX = 4;
  g().Rng.SetSeed(SeedForDie(3));
  RemoveUnit(g(), ui_, 72);
  EXPECT_EQ(ui_.TextsOf("battle"), std::vector<std::string>{"武将72は討ち取られました"});
  EXPECT_EQ(g().U(72).EntryTurn, 0);  // never comes back
  EXPECT_EQ(g().U(72).TargetX, -1);
  EXPECT_EQ(g().U(71).SubordinateCount, 0);
  EXPECT_EQ(g().U(73).CommanderIndex, -1);
  EXPECT_EQ(g().U(72).SubordinateCount, 0);
  EXPECT_EQ(test::BrokenInvariants(g()), "");
}

TEST_F(Removal, OtherwiseTheTroopsReturnHomeWithAThird) {
  PlaceUnit(g(), 71, 1, 10, 10, {.Steps = 10, .CombatPower = 13, .ActionPoints = 4});
  PlaceUnit(g(), 72, 1, 10, 10);
  PlaceUnit(g(), 74, 1, 10, 10);
  test::Attach(g(), 72, 74);
  test::Attach(g(), 72, 71);
  g().U(71).OnMap = 0;
  g().U(71).ActionPoints = 0;
  g().Rng.SetSeed(SeedForDie(5));
  RemoveUnit(g(), ui_, 71);
  EXPECT_TRUE(ui_.TextsOf("battle").empty());
  EXPECT_EQ(g().U(71).EntryTurn, 3 + 5);
  EXPECT_EQ(g().U(71).Steps, 3);
  EXPECT_EQ(g().U(71).CombatPower, 4);  // 13/3 = 4.33
  EXPECT_EQ(g().U(71).ActionPoints, 4);
  EXPECT_EQ((HexPos{g().U(71).HexX, g().U(71).HexY}), (HexPos{18, 11}));
  EXPECT_EQ(g().U(71).CommanderIndex, -1);
  EXPECT_EQ(g().U(72).SubordinateCount, 1);
  EXPECT_EQ(g().U(72).Subordinates[0], 74);
  EXPECT_EQ(test::BrokenInvariants(g()), "");
}

TEST_F(Removal, AComputerPlayingSideZeroGetsItsTroopsBackSooner) {
  g().PlayerSide = 1;
  g().ComputerSide = 0;
  PlaceUnit(g(), 5, 0, 10, 10, {.Steps = 20, .CombatPower = 10});
  g().U(5).OnMap = 0;
  const std::uint32_t seed = SeedForDie(6);
  Random expect(seed);
  expect.Die();
  const int back = 3 + expect.Next(3) + 1;
  g().Rng.SetSeed(seed);
  RemoveUnit(g(), ui_, 5);
  EXPECT_EQ(g().U(5).EntryTurn, back);
  EXPECT_EQ(g().U(5).Steps, 7);  // 20/3 = 6.67
  EXPECT_EQ((HexPos{g().U(5).HexX, g().U(5).HexY}), (HexPos{2, 5}));
}

TEST_F(Removal, AStormedCastleIsRestoredForItsNewHolder) {
  castle().Durability = 0;
  castle().Strength = 0;
  castle().CastleMorale = 4;
  CastleFalls(g(), ui_, 1);
  EXPECT_EQ(castle().Owner, 0);
  EXPECT_EQ(castle().Durability, castle().MaxDurability);
  EXPECT_EQ(castle().Strength, castle().MaxStrength);
  EXPECT_EQ(castle().CastleMorale, 0);
  EXPECT_EQ(ui_.TextsOf("battle"), std::vector<std::string>{"吉田城は落城しました。"});
}

}  // namespace
}  // namespace milgant
