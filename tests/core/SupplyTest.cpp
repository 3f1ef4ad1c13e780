// Supply on small drawn maps: the road net from the source, the short way into the country,
// enemy presence, cities, the scan order of the short traces, and the losses of the check.
#include <gtest/gtest.h>

#include "AsciiMap.h"
#include "core/game/Scenario.h"
#include "core/turn/ScriptedUi.h"
#include "core/rules/Supply.h"

namespace milgant {
namespace {

using test::PlaceUnit;

int Supply(const Game& g, int x, int y) {
  return g.SupplyRemaining[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)];
}

class SupplyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_ = test::FreshGame();
    test::DrawMap(g(), "");
    g().PhaseSide = 0;
    g().PlayerSide = 0;
    g().ComputerSide = 1;
  }
  // A road east from side 0's source (2, 5) to (8, 5).
  void EastRoad() { test::LayRoad(g(), 2, 5, "222222"); }
  Game& g() { return *g_; }
  std::unique_ptr<Game> g_;
  ScriptedUi ui_;
};

TEST_F(SupplyTest, ReachesTwoHexesOffTheRoadButNotThree) {
  EastRoad();
  TraceSupply(g(), 0);
  EXPECT_EQ(Supply(g(), 8, 5), 3);  // a road hex is set to 3 when its own short trace starts
  EXPECT_EQ(Supply(g(), 2, 5), 3);  // so is the source
  EXPECT_EQ(Supply(g(), 5, 4), 2);
  EXPECT_EQ(Supply(g(), 5, 3), 1);
  EXPECT_LE(Supply(g(), 5, 2), 0);
  EXPECT_EQ(Supply(g(), 5, 7), 1);
  EXPECT_LE(Supply(g(), 5, 8), 0);
  EXPECT_LE(Supply(g(), 11, 5), 0);
}

TEST_F(SupplyTest, TheCheckMarksUnitsAndTakesThreeStepsFromThoseOutside) {
  EastRoad();
  PlaceUnit(g(), 1, 0, 5, 3, {.Steps = 10, .CombatPower = 10});
  PlaceUnit(g(), 2, 0, 5, 2, {.Steps = 10, .CombatPower = 10});
  PlaceUnit(g(), 71, 1, 15, 15, {.Steps = 10, .CombatPower = 10});
  g().U(1).Supplied = 0;
  SupplyCheck(g(), ui_, 0);
  EXPECT_EQ(g().U(1).Supplied, 1);
  EXPECT_EQ(g().U(1).Steps, 10);
  EXPECT_EQ(g().U(2).Supplied, 0);
  EXPECT_EQ(g().U(2).Steps, 7);
  EXPECT_EQ(g().U(2).CombatPower, 7);
  EXPECT_EQ(g().U(71).Steps, 10);  // only the side checked
  EXPECT_EQ(g().U(71).Supplied, 1);
  // The scratch tables are left clear.
  for (int x = 0; x < kMapSize; ++x) {
    for (int y = 0; y < kMapSize; ++y) {
      EXPECT_EQ(Supply(g(), x, y), -1);
      EXPECT_EQ(g().MoveBlocked[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)], 1);
    }
  }
}

TEST_F(SupplyTest, AnEmptyHexNextToTheEnemyIsCutAFriendlyOneIsNot) {
  EastRoad();
  PlaceUnit(g(), 71, 1, 5, 2);
  TraceSupply(g(), 0);
  EXPECT_LE(Supply(g(), 5, 3), 0);
  EXPECT_LE(Supply(g(), 4, 3), 0);
  EXPECT_EQ(Supply(g(), 6, 3), 1);

  PlaceUnit(g(), 1, 0, 5, 3);
  TraceSupply(g(), 0);
  EXPECT_EQ(Supply(g(), 5, 3), 1);
  EXPECT_TRUE(SupplyZoneBlocked(g(), 4, 3));
  EXPECT_FALSE(SupplyZoneBlocked(g(), 5, 3));
}

TEST_F(SupplyTest, AnEdgeHexLooksNoFurtherThanItsFirstNeighbourOffTheMap) {
  test::LayRoad(g(), 2, 5, "55");
  PlaceUnit(g(), 71, 1, 0, 2);  // upper left of (0, 3): never looked at
  TraceSupply(g(), 0);
  EXPECT_EQ(Supply(g(), 0, 3), 1);

  g().U(71).HexX = 1;  // upper right of (0, 3): looked at first
  TraceSupply(g(), 0);
  EXPECT_LE(Supply(g(), 0, 3), 0);
}

TEST_F(SupplyTest, CitiesAreAlwaysSuppliedEvenTheEnemys) {
  g().H(15, 15).Terrain = 8;
  AddCastle(g(), 1, "吉田城", 15, 15, 1, 4, 2, 40, {2, 999, 999, 999, 999});
  PlaceUnit(g(), 1, 0, 15, 15);
  PlaceUnit(g(), 2, 0, 15, 14);
  PlaceUnit(g(), 3, 0, 2, 5);
  TraceSupply(g(), 0);
  EXPECT_EQ(Supply(g(), 15, 15), 1);
  EXPECT_EQ(Supply(g(), 2, 5), 45);  // a source without roads keeps the whole budget
  SupplyCheck(g(), ui_, 0);
  EXPECT_EQ(g().U(1).Supplied, 1);
  EXPECT_EQ(g().U(2).Supplied, 0);
  EXPECT_EQ(g().U(3).Supplied, 1);
}

TEST_F(SupplyTest, AnEnemyCastleStopsTheRoadTrace) {
  EastRoad();
  g().H(5, 5).Terrain = 8;
  AddCastle(g(), 1, "吉田城", 5, 5, 1, 4, 2, 40, {2, 999, 999, 999, 999});
  TraceSupply(g(), 0);
  EXPECT_EQ(Supply(g(), 5, 5), 1);  // a city, so counted as supplied
  EXPECT_LE(Supply(g(), 7, 5), 0);
  EXPECT_LE(Supply(g(), 8, 5), 0);
  EXPECT_EQ(Supply(g(), 4, 5), 3);

  g().Castles[1].Owner = 0;
  TraceSupply(g(), 0);
  EXPECT_EQ(Supply(g(), 8, 5), 3);
}

TEST_F(SupplyTest, OnlyRoadHexesReachedEarlierInTheScanStartTracesOfTheirOwn) {
  EastRoad();
  test::MarkRoadSide(g(), 1, 3, 6);  // scanned before the road that reaches it
  test::MarkRoadSide(g(), 9, 3, 6);  // scanned after
  TraceSupply(g(), 0);
  EXPECT_EQ(Supply(g(), 1, 3), 1);
  EXPECT_LE(Supply(g(), 1, 2), 0);
  EXPECT_EQ(Supply(g(), 9, 3), 3);
  EXPECT_EQ(Supply(g(), 9, 2), 2);
}

TEST_F(SupplyTest, SideOneTracesFromItsOwnSource) {
  test::LayRoad(g(), 19, 15, "5555");
  g().PhaseSide = 1;
  TraceSupply(g(), 1);
  EXPECT_EQ(Supply(g(), 15, 15), 3);
  EXPECT_EQ(Supply(g(), 15, 13), 1);
  EXPECT_LE(Supply(g(), 5, 5), 0);
}

TEST_F(SupplyTest, StepLossRescalesPowerAndAnEmptyUnitIsRemoved) {
  PlaceUnit(g(), 1, 0, 10, 10, {.Steps = 10, .CombatPower = 25});
  g().U(1).Steps = 4;
  PlaceUnit(g(), 4, 0, 12, 12, {.Steps = 10, .CombatPower = 10});
  PlaceUnit(g(), 5, 0, 12, 12, {.Steps = 10, .CombatPower = 10});
  PlaceUnit(g(), 6, 0, 12, 12, {.Steps = 10, .CombatPower = 10});
  test::Attach(g(), 4, 5);
  test::Attach(g(), 5, 6);
  g().U(5).Steps = 3;
  SupplyCheck(g(), ui_, 0);

  EXPECT_EQ(g().U(1).Steps, 1);
  EXPECT_EQ(g().U(1).CombatPower, 2);  // 1/10 of 25 is 2.5, to the even 2
  EXPECT_EQ(g().U(1).OnMap, 1);

  EXPECT_EQ(g().U(5).OnMap, 0);
  EXPECT_EQ(g().U(4).SubordinateCount, 0);
  EXPECT_EQ(g().U(6).CommanderIndex, -1);
  EXPECT_EQ(g().U(5).CommanderIndex, -1);
  ASSERT_FALSE(ui_.Log.empty());
  EXPECT_EQ(ui_.Log[0].Kind, "question");
  EXPECT_EQ(ui_.Log[0].Caption, "補給切れ除去");
  EXPECT_EQ(ui_.Log[0].Text, "ヴァルネ軍 武将5が\r補給切れにより全滅します。");
  EXPECT_EQ(test::BrokenInvariants(g()), "");
}

}  // namespace
}  // namespace milgant
