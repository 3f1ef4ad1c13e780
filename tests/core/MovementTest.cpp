// Movement ranges on small drawn maps: step costs, zones of control, the start penalty, the
// visiting order of the search, and the move itself with its confirmation and take-back.
#include <gtest/gtest.h>

#include <string>

#include "AsciiMap.h"
#include "core/game/Scenario.h"
#include "core/turn/ScriptedUi.h"
#include "core/rules/Movement.h"

namespace milgant {
namespace {

using test::DrawMap;
using test::PlaceUnit;

int Left(const Game& g, int x, int y) { return g.MoveRemaining[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)]; }
bool Reachable(const Game& g, int x, int y) {
  return g.MoveBlocked[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)] == 0;
}
std::string Route(const Game& g, int x, int y) {
  return std::string(g.MovePath[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)].View());
}

// Row 5 is a plain corridor; every other hex is shallows, which no move enters.
std::string Corridor() {
  std::string picture;
  for (int y = 0; y < kMapSize; ++y) {
    for (int x = 0; x < kMapSize; ++x) picture += y == 5 ? ". " : "~ ";
    picture += '\n';
  }
  return picture;
}

void SetHex(Game& g, int x, int y, int terrain) { g.H(x, y).Terrain = terrain; }

class Movement : public ::testing::Test {
 protected:
  void SetUp() override {
    g_ = test::FreshGame();
    g_->PhaseSide = 0;
    g_->PlayerSide = 0;
    g_->ComputerSide = 1;
  }
  Game& g() { return *g_; }
  std::unique_ptr<Game> g_;
  ScriptedUi ui_;
};

TEST_F(Movement, PlainHexesCostOneEachAndRoutesLeadThere) {
  DrawMap(g(), "");
  PlaceUnit(g(), 1, 0, 5, 5);
  ComputeMoveRange(g(), 5, 5, kUnitMoveRow, 3);
  for (int x = 0; x < kMapSize; ++x) {
    for (int y = 0; y < kMapSize; ++y) {
      const int dist = HexDistance(5, 5, x, y);
      SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
      if (dist > 3) {
        EXPECT_FALSE(Reachable(g(), x, y));
        EXPECT_EQ(Left(g(), x, y), -1);
        EXPECT_TRUE(Route(g(), x, y).empty());
        continue;
      }
      ASSERT_TRUE(Reachable(g(), x, y));
      EXPECT_EQ(Left(g(), x, y), 3 - dist);
      if (dist == 0) {
        EXPECT_EQ(Route(g(), x, y), "0");
        continue;
      }
      // Walking the route from the start ends on the hex, one step per hex of distance.
      const std::string route = Route(g(), x, y);
      EXPECT_EQ(static_cast<int>(route.size()), dist);
      HexPos p{5, 5};
      for (const char c : route) p = Neighbour(p.X, p.Y, c - '0');
      EXPECT_EQ(p, (HexPos{x, y}));
    }
  }
}

TEST_F(Movement, ARoadAcrossTheHexsideLeftMakesTheStepCostOne) {
  DrawMap(g(), "");
  for (auto& column : g().Map) {
    for (Hex& h : column) h.Terrain = 2;  // rough everywhere: 2 a hex
  }
  PlaceUnit(g(), 1, 0, 3, 5);
  test::LayRoad(g(), 3, 5, "2222");
  ComputeMoveRange(g(), 3, 5, kUnitMoveRow, 4);
  EXPECT_EQ(Left(g(), 4, 5), 3);
  EXPECT_EQ(Left(g(), 7, 5), 0);
  EXPECT_EQ(Route(g(), 7, 5), "2222");
  EXPECT_EQ(Left(g(), 3, 6), 2);  // off the road: rough
  EXPECT_FALSE(Reachable(g(), 3, 8));

  // Only the flag of the hex being left counts: a road marked on the far hex alone does not help.
  DrawMap(g(), "");
  for (auto& column : g().Map) {
    for (Hex& h : column) h.Terrain = 2;
  }
  test::MarkRoadSide(g(), 4, 5, 5);
  ComputeMoveRange(g(), 3, 5, kUnitMoveRow, 4);
  EXPECT_EQ(Left(g(), 4, 5), 2);
  int road = 0;
  EXPECT_EQ(StepCost(g(), 3, 5, "5", kUnitMoveRow, road), 1);
  EXPECT_EQ(road, 1);
}

TEST_F(Movement, ARiverCostsOneMoreUnlessARoadCrossesIt) {
  DrawMap(g(), Corridor());
  PlaceUnit(g(), 1, 0, 3, 5);
  test::MarkRiver(g(), 4, 5, 2);
  ComputeMoveRange(g(), 3, 5, kUnitMoveRow, 6);
  EXPECT_EQ(Left(g(), 4, 5), 5);
  EXPECT_EQ(Left(g(), 5, 5), 3);
  EXPECT_EQ(Left(g(), 6, 5), 2);
  EXPECT_EQ(RiverExtra(g(), 5, 5, "2", 0), 1);
  EXPECT_EQ(RiverExtra(g(), 5, 5, "2", 1), 0);
  EXPECT_EQ(RiverExtra(g(), 4, 5, "2", 0), 0);

  test::LayRoad(g(), 4, 5, "2");
  ComputeMoveRange(g(), 3, 5, kUnitMoveRow, 6);
  EXPECT_EQ(Left(g(), 5, 5), 4);
  EXPECT_EQ(Left(g(), 6, 5), 3);
}

TEST_F(Movement, LeavingAMountainCostsTwentyExceptByRoad) {
  DrawMap(g(), "");
  SetHex(g(), 5, 5, 3);
  PlaceUnit(g(), 1, 0, 5, 5);
  ComputeMoveRange(g(), 5, 5, kUnitMoveRow, 19);
  for (int k = 1; k <= 6; ++k) {
    const HexPos n = Neighbour(5, 5, k);
    EXPECT_FALSE(Reachable(g(), n.X, n.Y)) << k;
  }
  ComputeMoveRange(g(), 5, 5, kUnitMoveRow, 20);
  EXPECT_EQ(Left(g(), 6, 5), 0);
  EXPECT_EQ(Left(g(), 4, 5), 0);

  // Climbing in costs the mountain's 20 as well.
  ComputeMoveRange(g(), 4, 6, kUnitMoveRow, 19);
  EXPECT_FALSE(Reachable(g(), 5, 5));

  test::LayRoad(g(), 5, 5, "2");
  ComputeMoveRange(g(), 5, 5, kUnitMoveRow, 19);
  EXPECT_EQ(Left(g(), 6, 5), 18);
  ASSERT_TRUE(Reachable(g(), 4, 5));
  EXPECT_EQ(Route(g(), 4, 5).front(), '2');  // down the road first, then round the mountain
}

TEST_F(Movement, TheEnemysZoneStopsTheMoveButLetsItIn) {
  DrawMap(g(), Corridor());
  SetHex(g(), 8, 4, 1);
  PlaceUnit(g(), 1, 0, 4, 5);
  ComputeMoveRange(g(), 4, 5, kUnitMoveRow, 10);
  EXPECT_EQ(Left(g(), 9, 5), 5);  // open road without the enemy

  PlaceUnit(g(), 71, 1, 8, 4);
  ComputeMoveRange(g(), 4, 5, kUnitMoveRow, 10);
  EXPECT_EQ(Left(g(), 6, 5), 8);
  ASSERT_TRUE(Reachable(g(), 7, 5));  // next to the enemy: entered, and the move stops there
  EXPECT_EQ(Left(g(), 7, 5), 7);
  EXPECT_FALSE(Reachable(g(), 8, 5));
  EXPECT_FALSE(Reachable(g(), 9, 5));
  EXPECT_FALSE(Reachable(g(), 8, 4));  // the enemy's own hex

  // Crossing a river into the zone is paid twice.
  test::MarkRiver(g(), 6, 5, 2);
  ComputeMoveRange(g(), 4, 5, kUnitMoveRow, 10);
  EXPECT_EQ(Left(g(), 7, 5), 5);
}

TEST_F(Movement, AnEnemyOnAMountainProjectsNoZone) {
  DrawMap(g(), Corridor());
  SetHex(g(), 8, 4, 3);
  PlaceUnit(g(), 1, 0, 4, 5);
  PlaceUnit(g(), 71, 1, 8, 4);
  ComputeMoveRange(g(), 4, 5, kUnitMoveRow, 10);
  EXPECT_EQ(Left(g(), 7, 5), 7);
  EXPECT_EQ(Left(g(), 9, 5), 5);
  // A road down the mountainside carries the zone again.
  test::LayRoad(g(), 7, 5, "1");
  ComputeMoveRange(g(), 4, 5, kUnitMoveRow, 10);
  EXPECT_FALSE(Reachable(g(), 9, 5));
}

TEST_F(Movement, EnemyCastlesAndUnitsAreNotEnteredFriendsArePassed) {
  DrawMap(g(), Corridor());
  PlaceUnit(g(), 1, 0, 4, 5);
  PlaceUnit(g(), 2, 0, 6, 5);  // a friend in the way
  ComputeMoveRange(g(), 4, 5, kUnitMoveRow, 10);
  EXPECT_EQ(Left(g(), 6, 5), 8);
  EXPECT_EQ(Left(g(), 9, 5), 5);

  SetHex(g(), 8, 5, 8);
  AddCastle(g(), 1, "吉田城", 8, 5, 1, 4, 2, 40, {2, 999, 999, 999, 999});
  ComputeMoveRange(g(), 4, 5, kUnitMoveRow, 10);
  EXPECT_EQ(Left(g(), 7, 5), 7);  // the castle's zone stops the move
  EXPECT_FALSE(Reachable(g(), 8, 5));
  EXPECT_FALSE(Reachable(g(), 9, 5));

  g().Castles[1].Owner = 0;
  ComputeMoveRange(g(), 4, 5, kUnitMoveRow, 10);
  EXPECT_EQ(Left(g(), 9, 5), 5);

  PlaceUnit(g(), 72, 1, 7, 5);
  ComputeMoveRange(g(), 4, 5, kUnitMoveRow, 10);
  EXPECT_FALSE(Reachable(g(), 7, 5));
  EXPECT_EQ(Left(g(), 6, 5), 8);
}

TEST_F(Movement, ShallowsAreNeverEntered) {
  DrawMap(g(), "");
  SetHex(g(), 6, 5, 5);
  PlaceUnit(g(), 1, 0, 5, 5);
  ComputeMoveRange(g(), 5, 5, kUnitMoveRow, 6);
  EXPECT_FALSE(Reachable(g(), 6, 5));
  EXPECT_EQ(Left(g(), 7, 5), 3);  // three steps round it instead of two through it
}

TEST_F(Movement, StartingNextToTheEnemyCostsFourPoints) {
  DrawMap(g(), "");
  PlaceUnit(g(), 1, 0, 5, 5);
  PlaceUnit(g(), 71, 1, 4, 5);
  ComputeMoveRange(g(), 5, 5, kUnitMoveRow, 3);
  for (int x = 0; x < kMapSize; ++x) {
    for (int y = 0; y < kMapSize; ++y) EXPECT_EQ(Reachable(g(), x, y), x == 5 && y == 5) << x << "," << y;
  }
  EXPECT_EQ(Left(g(), 5, 5), 3);
  EXPECT_EQ(Route(g(), 5, 5), "0");

  ComputeMoveRange(g(), 5, 5, kUnitMoveRow, 7);
  EXPECT_EQ(Left(g(), 6, 5), 2);
  EXPECT_EQ(Left(g(), 7, 5), 1);
}

TEST_F(Movement, TheVisitingOrderDecidesTheRecordedRoute) {
  // A later arrival with more points before paying overwrites an earlier record of equal value.
  DrawMap(g(), "");
  PlaceUnit(g(), 1, 0, 5, 5);
  ComputeMoveRange(g(), 5, 5, kUnitMoveRow, 2);
  EXPECT_EQ(Route(g(), 5, 3), "61");
  EXPECT_EQ(Route(g(), 6, 3), "11");
  EXPECT_EQ(Route(g(), 5, 4), "6");
}

TEST_F(Movement, TheMirroredRangeSwapsOwnAndEnemy) {
  DrawMap(g(), "");
  PlaceUnit(g(), 71, 1, 5, 5);
  PlaceUnit(g(), 1, 0, 8, 4);
  PlaceUnit(g(), 2, 0, 4, 5);
  g().PhaseSide = 1;
  ComputeMoveRange(g(), 5, 5, kUnitMoveRow, 8);
  auto left = g().MoveRemaining;
  auto blocked = g().MoveBlocked;
  g().PhaseSide = 0;
  ComputeMoveRangeMirrored(g(), 5, 5, kUnitMoveRow, 8);
  EXPECT_EQ(g().MoveRemaining, left);
  EXPECT_EQ(g().MoveBlocked, blocked);
  ComputeMoveRange(g(), 5, 5, kUnitMoveRow, 8);
  EXPECT_NE(g().MoveRemaining, left);
}

TEST_F(Movement, ExtendingKeepsTheEarlierRange) {
  DrawMap(g(), "");
  ComputeMoveRange(g(), 2, 2, kUnitMoveRow, 1);
  ExtendMoveRange(g(), 15, 15, kUnitMoveRow, 1);
  EXPECT_TRUE(Reachable(g(), 3, 2));
  EXPECT_TRUE(Reachable(g(), 16, 15));
  ComputeMoveRange(g(), 15, 15, kUnitMoveRow, 1);
  EXPECT_FALSE(Reachable(g(), 3, 2));
  ClearMoveRange(g());
  EXPECT_FALSE(Reachable(g(), 15, 15));
  EXPECT_EQ(Left(g(), 15, 15), -1);
}

TEST_F(Movement, APortOfOnesOwnOpensEveryPort) {
  DrawMap(g(), "");
  SetHex(g(), 3, 3, 12);
  SetHex(g(), 15, 15, 12);
  AddCastle(g(), 1, "吉田城", 3, 3, 0, 4, 2, 40, {2, 999, 999, 999, 999});
  PlaceUnit(g(), 1, 0, 3, 3, {.ActionPoints = 2});
  ComputeMoveRange(g(), 3, 3, kUnitMoveRow, 2);
  ASSERT_TRUE(Reachable(g(), 15, 15));
  EXPECT_EQ(Route(g(), 15, 15), "0");
  EXPECT_EQ(Left(g(), 15, 15), -1);

  // Such a destination carries no points: confirming it never leaves the unit below zero.
  ClickMoveDestination(g(), ui_, 1, 15, 15);
  EXPECT_EQ(g().GameState, 24);
  EXPECT_EQ(g().U(1).HexX, 3);
  ClickMoveConfirmation(g(), ui_, 1, 3, 3);
  EXPECT_EQ(g().U(1).ActionPoints, 0);

  g().Castles[1].Owner = 1;
  ComputeMoveRange(g(), 3, 3, kUnitMoveRow, 2);
  EXPECT_FALSE(Reachable(g(), 15, 15));
}

class MoveExecution : public Movement {
 protected:
  void SetUp() override {
    Movement::SetUp();
    DrawMap(g(), "");
    PlaceUnit(g(), 1, 0, 5, 5, {.ActionPoints = 5});
    PlaceUnit(g(), 2, 0, 5, 5);
    test::Attach(g(), 1, 2);
    g().U(1).Fortified = 1;
    g().ClickX = 5;
    g().ClickY = 5;
    g().ActiveUnit = 1;
    ShowMoveRange(g(), ui_, 1);
  }
};

TEST_F(MoveExecution, ShowingTheRangeEntersTheMovePhase) {
  EXPECT_EQ(g().GameState, 4);
  EXPECT_EQ(g().RangeOverlay, 1);
  EXPECT_EQ(g().RangeShown, 1);
  EXPECT_EQ(Left(g(), 8, 5), 2);
}

TEST_F(MoveExecution, TheCorpsWalksItsRouteAndIsConfirmedOnItsNewHex) {
  ClickMoveDestination(g(), ui_, 1, 8, 5);
  EXPECT_EQ(g().GameState, 24);
  EXPECT_EQ(ui_.MoveSteps, 3);
  EXPECT_EQ(g().U(1).Route.View(), Route(g(), 8, 5));
  EXPECT_EQ((HexPos{g().U(1).HexX, g().U(1).HexY}), (HexPos{8, 5}));
  EXPECT_EQ((HexPos{g().U(2).HexX, g().U(2).HexY}), (HexPos{8, 5}));
  EXPECT_EQ(g().U(1).Fortified, 0);
  EXPECT_EQ((HexPos{g().SavedHexX, g().SavedHexY}), (HexPos{5, 5}));

  ClickMoveConfirmation(g(), ui_, 1, 8, 5);
  EXPECT_EQ(g().GameState, 7);
  EXPECT_EQ(g().U(1).ActionPoints, 2);
  EXPECT_EQ(g().RangeShown, 0);
  EXPECT_EQ(g().RangeOverlay, 0);
  EXPECT_FALSE(Reachable(g(), 8, 5));
  EXPECT_EQ(test::BrokenInvariants(g()), "");
}

TEST_F(MoveExecution, AClickElsewherePutsTheCorpsBack) {
  ClickMoveDestination(g(), ui_, 1, 8, 5);
  ClickMoveConfirmation(g(), ui_, 1, 9, 9);
  EXPECT_EQ(g().GameState, 7);
  EXPECT_EQ((HexPos{g().U(1).HexX, g().U(1).HexY}), (HexPos{5, 5}));
  EXPECT_EQ((HexPos{g().U(2).HexX, g().U(2).HexY}), (HexPos{5, 5}));
  EXPECT_EQ(g().U(1).ActionPoints, 5);
}

TEST_F(MoveExecution, TheRightButtonTakesTheMoveBackAndTheCorpsMayMoveAgain) {
  ClickMoveDestination(g(), ui_, 1, 7, 5);
  g().U(1).CanMove = 0;
  g().U(2).CanMove = 0;
  TakeBackMove(g(), ui_, 1);
  EXPECT_EQ(g().GameState, 3);
  EXPECT_EQ(g().U(1).HexX, 5);
  EXPECT_EQ(g().U(2).HexX, 5);
  EXPECT_EQ(g().U(1).CanMove, 1);
  EXPECT_EQ(g().U(2).CanMove, 1);
  EXPECT_EQ(g().RangeShown, 1);  // the right button leaves the cost display flag alone
}

TEST_F(MoveExecution, AnUnreachableHexGivesTheMoveUp) {
  ClickMoveDestination(g(), ui_, 1, 15, 15);
  EXPECT_EQ(g().GameState, 7);
  EXPECT_EQ(g().U(1).HexX, 5);
  EXPECT_EQ(ui_.MoveSteps, 0);
  EXPECT_EQ(g().RangeShown, 0);

  ShowMoveRange(g(), ui_, 1);
  CancelMoveRange(g(), ui_);
  EXPECT_EQ(g().GameState, 3);
  EXPECT_FALSE(Reachable(g(), 6, 5));
}

TEST_F(MoveExecution, OutsideTheHumansPhaseSubordinatesStay) {
  g().PhaseSide = 1;
  g().U(1).Route.Assign("22");
  MoveAlongRoute(g(), ui_, 1);
  EXPECT_EQ(g().U(1).HexX, 7);
  EXPECT_EQ(g().U(2).HexX, 5);
}

}  // namespace
}  // namespace milgant
