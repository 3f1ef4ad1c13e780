// The computer opponent on small drawn maps: postures, the order of commanders, corps merging,
// attack odds and thresholds, left-over points, subordinates leaving, planning and moving,
// objectives; then whole seeded games against a passive side and against itself.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "TestFiles.h"
#include "AsciiMap.h"
#include "core/ai/ComputerMove.h"
#include "core/ai/ComputerPhase.h"
#include "core/ai/Objectives.h"
#include "core/turn/SelfPlay.h"
#include "core/ai/SourceTrace.h"
#include "core/game/Invariants.h"
#include "core/game/RuleTables.h"
#include "core/game/SaveImage.h"
#include "core/turn/ScriptedUi.h"
#include "core/turn/PhaseSequence.h"

namespace milgant {
namespace {

using test::PieceStats;
using test::PlaceUnit;

// The computer plays side 1 unless a test says otherwise; its phase is running.
class Computer : public ::testing::Test {
 protected:
  void SetUp() override {
    g_ = test::FreshGame();
    test::DrawMap(g(), "");
    Sides(1);
    g().GameState = 15;
    g().Turn = 1;
  }
  void Sides(int computer) {
    g().ComputerSide = computer;
    g().PlayerSide = 1 - computer;
    g().PhaseSide = computer;
  }
  Game& g() { return *g_; }
  std::unique_ptr<Game> g_;
  ScriptedUi ui_;
};

TEST_F(Computer, PostureFollowsTheBalanceOfStrength) {
  struct Case {
    int computer, own, other;
    bool ownConfused;
    int expected;  // AiRole after, starting from 1
  } cases[] = {
      {1, 20, 10, false, 0}, {0, 20, 10, false, 0},  // stronger: press on
      {0, 10, 10, false, 4}, {0, 5, 10, false, 4},   // a side-0 computer that is not stronger stands back
      {1, 10, 10, false, 1}, {1, 5, 10, false, 1},   // side 1 keeps its posture
      {1, 12, 10, true, 1},                          // confused troops count half: 6 against 10
      {0, 10, 0, false, 1},                          // nobody against it: nothing changes
  };
  for (const Case& c : cases) {
    SetUp();
    Sides(c.computer);
    const int own = c.computer == 0 ? 1 : 71;
    const int other = c.computer == 0 ? 71 : 1;
    PlaceUnit(g(), own, c.computer, 3, 3, {.CombatPower = c.own});
    g().U(own).Normal = c.ownConfused ? 0 : 1;
    if (c.other > 0) PlaceUnit(g(), other, 1 - c.computer, 9, 9, {.CombatPower = c.other});
    g().U(own).AiRole = 1;
    SetPostures(g());
    EXPECT_EQ(g().U(own).AiRole, c.expected) << c.computer << " " << c.own << " " << c.other;
  }
}

TEST_F(Computer, CommandersCloseToTheEnemyActFirstAndEqualKeysTakeTheLaterOne) {
  PlaceUnit(g(), 71, 1, 2, 2, {.CorpsActionPoints = 8});
  PlaceUnit(g(), 72, 1, 4, 2, {.CorpsActionPoints = 6});
  PlaceUnit(g(), 73, 1, 6, 2, {.CorpsActionPoints = 6});
  PlaceUnit(g(), 74, 1, 8, 2, {.CorpsActionPoints = 10});
  PlaceUnit(g(), 75, 1, 10, 2, {.ActionPoints = 0});  // no points: not listed
  ProcessingList list;
  BuildProcessingList(g(), list);
  ASSERT_EQ(list.Count, 4);
  const int order[] = {73, 72, 71, 74};
  const int keys[] = {312, 312, 316, 320};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(list.Entries[static_cast<std::size_t>(i)].Slot, order[i]) << i;
    EXPECT_EQ(list.Entries[static_cast<std::size_t>(i)].Key, keys[i]) << i;
  }
  PlaceUnit(g(), 1, 0, 11, 2);  // an enemy: the key becomes the distance to it
  BuildProcessingList(g(), list);
  EXPECT_EQ(list.Entries[0].Slot, 74);
  EXPECT_EQ(list.Entries[0].Key, 3);
}

TEST_F(Computer, StacksMergeIntoCorpsUnderTheBestPlacedHigherRank) {
  struct Case {
    int rankA, rankB;
    int expectedCommanderOfB;
  } cases[] = {{1, 1, -1}, {0, 0, -1}, {1, 0, 71}, {2, 1, 71}, {0, 1, -1}};
  for (const Case& c : cases) {
    SetUp();
    // A leads: higher command plus points.
    PlaceUnit(g(), 71, 1, 5, 5, {.CorpsActionPoints = 9, .ActionPoints = 6, .Rank = c.rankA, .Command = 4});
    PlaceUnit(g(), 72, 1, 5, 5, {.ActionPoints = 2, .Rank = c.rankB, .Command = 2});
    MergeStacksIntoCorps(g());
    EXPECT_EQ(g().U(72).CommanderIndex, c.expectedCommanderOfB) << c.rankA << c.rankB;
    if (c.expectedCommanderOfB == 71) {
      EXPECT_EQ(g().U(71).SubordinateCount, 1);
      EXPECT_EQ(g().U(72).ActionPoints, 9);  // the commander's allotment
      EXPECT_EQ(g().U(72).TurnActionPoints, 9);
    }
    EXPECT_EQ(test::BrokenInvariants(g()), "");
  }
  // A subordinate of a lower commander changes over; its old corps closes up.
  SetUp();
  PlaceUnit(g(), 71, 1, 5, 5, {.ActionPoints = 8, .Rank = 2, .Command = 5});
  PlaceUnit(g(), 72, 1, 5, 5, {.ActionPoints = 2, .Rank = 1, .Command = 1});
  PlaceUnit(g(), 73, 1, 5, 5, {.ActionPoints = 2, .Rank = 0, .Command = 1});
  PlaceUnit(g(), 74, 1, 5, 5, {.ActionPoints = 2, .Rank = 0, .Command = 1});
  test::Attach(g(), 72, 73);
  test::Attach(g(), 72, 74);
  g().U(74).ActionPoints = 3;
  MergeStacksIntoCorps(g());
  EXPECT_EQ(test::BrokenInvariants(g()), "");
  EXPECT_EQ(g().U(72).CommanderIndex, 71);
  EXPECT_EQ(g().U(73).CommanderIndex, 71);
  EXPECT_EQ(g().U(74).CommanderIndex, 71);
  EXPECT_EQ(g().U(74).ActionPoints, 3);  // handed over with its own points
  EXPECT_EQ(g().U(71).SubordinateCount, 3);
  EXPECT_EQ(g().U(72).SubordinateCount, 0);
}

// A computer corps on a mountain with a road into the enemy's hex: it cannot move, only attack.
class ComputerAttack : public Computer {
 protected:
  void Place(int own, int other, int points) {
    test::DrawMap(g(), R"(
. . . . . .
 . . . . . .
. . . . . .
 . . . . . .
. . . . . .
 . . . ^ . .)");
    test::MarkRoadSide(g(), 3, 5, 2);
    PlaceUnit(g(), 71, 1, 3, 5, {.CombatPower = own, .ActionPoints = points});
    PlaceUnit(g(), 1, 0, 4, 5, {.CombatPower = other, .ActionPoints = 0});
  }
};

TEST_F(ComputerAttack, OddsAgainstTheThresholdDecideTheAttackAndItsCost) {
  struct Case {
    int turn, own, other, points;
    bool battle;
    int fullAttack, pointsAfter;
  } cases[] = {
      {1, 30, 10, 1, true, 0, 0},    // odds exactly 3: the one-point battle
      {1, 29, 10, 3, true, 1, 0},    // 2.9: the three-point engagement
      {1, 29, 10, 2, false, 0, 1},   // too few points for it: called off, one point to standby
      {1, 15, 10, 3, false, 0, 0},   // exactly the threshold 1.5: no attack
      {7, 10, 10, 3, false, 0, 0},   // 1.0 before turn 8: no attack
      {8, 10, 10, 3, true, 1, 0},    // from turn 8 on, 1.0 is enough
      {8, 7, 10, 3, false, 0, 0},    // 0.7 exactly: no attack
  };
  for (const Case& c : cases) {
    SetUp();
    g().Turn = c.turn;
    Place(c.own, c.other, c.points);
    g().FullAttack = 7;
    ScriptedUi ui;
    RunComputerPhase(g(), ui);
    const std::string what = "turn " + std::to_string(c.turn) + " " + std::to_string(c.own) + ":" + std::to_string(c.other);
    EXPECT_EQ(ui.BattleShows > 0, c.battle) << what;
    if (c.battle) {
      EXPECT_EQ(g().FullAttack, c.fullAttack) << what;
      EXPECT_GE(ui.BattleCloses, 1) << what;
    }
    if (g().U(71).OnMap == 1) {
      EXPECT_EQ(g().U(71).ActionPoints, c.pointsAfter) << what;
    }
    if (!c.battle) {
      EXPECT_EQ(g().U(71).HexX, 3) << what;
    }
    for (const Unit& u : g().Units) {
      if (u.OnMap == 1) {
        EXPECT_EQ(u.TargetX, -1) << what;  // no mark left behind
      }
    }
    EXPECT_EQ(test::BrokenInvariants(g()), "") << what;
  }
}

TEST_F(Computer, LeftOverPointsGoToStandbyThenToFieldWorks) {
  struct Case {
    int points;
    bool worksAlready;
    int pointsAfter, wait, fortified;
  } cases[] = {
      {7, true, 4, 3, 1}, {6, true, 3, 3, 1}, {5, true, 3, 2, 1}, {1, true, 1, 0, 1},
      {5, false, 1, 2, 1}, {2, false, 1, 1, 0}, {0, false, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SetUp();
    PlaceUnit(g(), 71, 1, 5, 5, {.ActionPoints = c.points});
    g().U(71).Fortified = c.worksAlready ? 1 : 0;
    UseLeftOverPoints(g(), 71);
    EXPECT_EQ(g().U(71).ActionPoints, c.pointsAfter) << c.points;
    EXPECT_EQ(g().U(71).ReinforcementWait, c.wait) << c.points;
    EXPECT_EQ(g().U(71).Fortified, c.fortified) << c.points;
  }
  // Works already dug by another corps on the hex are shared: no second digging.
  SetUp();
  PlaceUnit(g(), 71, 1, 5, 5, {.ActionPoints = 4});
  PlaceUnit(g(), 72, 1, 5, 5, {.ActionPoints = 0});
  g().U(72).Fortified = 1;
  UseLeftOverPoints(g(), 71);
  EXPECT_EQ(g().U(71).Fortified, 0);
  EXPECT_EQ(g().U(71).ActionPoints, 2);
}

TEST_F(Computer, ASubordinateWithItsOwnGoalLeavesAndGetsItsOwnPasses) {
  // The commander can barely move; the subordinate sees an enemy it can reach.
  PlaceUnit(g(), 71, 1, 2, 10, {.ActionPoints = 1, .Rank = 1, .Command = 3});
  PlaceUnit(g(), 72, 1, 2, 10, {.CorpsActionPoints = 10, .ActionPoints = 10});
  test::Attach(g(), 71, 72);
  g().U(72).OwnActionPoints = 10;
  PlaceUnit(g(), 1, 0, 9, 10, {.CombatPower = 2, .ActionPoints = 0});
  ProcessingList list;
  BuildProcessingList(g(), list);
  ASSERT_EQ(list.Count, 2);
  const int at = list.Entries[0].Slot == 71 ? 0 : 1;
  ActivateCommander(g(), ui_, list, at);
  EXPECT_EQ(g().U(72).CommanderIndex, -1);
  EXPECT_EQ(g().U(71).SubordinateCount, 0);
  ASSERT_EQ(list.Count, 3);
  EXPECT_EQ(list.Entries[2].Slot, 72);
  EXPECT_EQ(test::BrokenInvariants(g()), "");
  const int before = HexDistance(g().U(72).HexX, g().U(72).HexY, 9, 10);
  ActivateCommander(g(), ui_, list, 2);
  ContinueCommander(g(), ui_, list, 2);
  EXPECT_LT(HexDistance(g().U(72).HexX, g().U(72).HexY, 9, 10), before);
}

TEST_F(Computer, PlanningLooksFurtherThanMoving) {
  struct Case {
    int points, plan, execute;
  } cases[] = {{1, 2, 2}, {5, 10, 10}, {6, 11, 9}, {7, 13, 10}, {8, 10, 8}, {10, 13, 10}, {11, 11, 11}, {12, 12, 12}};
  for (const Case& c : cases) {
    EXPECT_EQ(PlanBudget(c.points), c.plan) << c.points;
    EXPECT_EQ(ExecuteBudget(c.points), c.execute) << c.points;
  }
}

TEST_F(Computer, AHexOfThreeUnitsIsNoPlaceToPlanFor) {
  // The enemy at (8, 10) can be reached only through (7, 10).
  for (const int crowd : {2, 3}) {
    SetUp();
    test::DrawMap(g(), R"(
. . . . . . . . . .
. . . . . . . . . .
. . . . . . . . . .
. . . . . . . . . .
. . . . . . . . . .
. . . . . . . . . .
. . . . . . . . . .
. . . . . . . . . .
. . . . . . . # # .
. . . . . . . # # #
. . . . . . . . . #
. . . . . . . # # .)");
    PlaceUnit(g(), 1, 0, 8, 10, {.ActionPoints = 0});
    PlaceUnit(g(), 71, 1, 2, 10, {.ActionPoints = 10});
    for (int i = 0; i < crowd; ++i) PlaceUnit(g(), 80 + i, 1, 7, 10, {.ActionPoints = 0});
    PlanMove(g(), 71);
    if (crowd == 3) {
      EXPECT_EQ(g().U(71).MoveGoalX, 2);  // nothing to head for: the default goal
      EXPECT_EQ(g().U(71).MoveGoalY, 5);
    } else {
      EXPECT_EQ(g().U(71).MoveGoalX, 8);
      EXPECT_EQ(g().U(71).MoveGoalY, 10);
    }
  }
}

TEST_F(Computer, WithoutACandidateBelowTheStartTheUnitStaysAsItWas) {
  for (const bool farGoal : {true, false}) {
    SetUp();
    PlaceUnit(g(), 71, 1, 5, 5, {.ActionPoints = 6});
    Unit& u = g().U(71);
    u.Route.Assign("0");
    u.RouteDestX = 5;
    u.RouteDestY = 5;
    u.MoveGoalX = farGoal ? 500 : 9;  // 50 per hex of distance outweighs everything
    u.MoveGoalY = farGoal ? 500 : 5;
    u.MoveScoreChosen = 12345;
    ExecuteComputerMove(g(), 71);
    if (farGoal) {
      EXPECT_EQ(u.Route.View(), "0");
      EXPECT_EQ(u.ActionPoints, 6);
      EXPECT_EQ(u.MoveScoreChosen, 12345);
    } else {
      EXPECT_EQ(u.RouteDestX, 9);  // 4 hexes of plain for 4 of its 6 points
      EXPECT_EQ(u.RouteDestY, 5);
      EXPECT_EQ(u.Route.View(), "2222");
      EXPECT_EQ(u.ActionPoints, 2);
      EXPECT_EQ(u.MaxActionPoints, 6);
      EXPECT_LT(u.MoveScoreChosen, 600);
    }
  }
}

TEST_F(Computer, PositionValuesRewardContactFacingTheEnemyAndNoRiverBetween) {
  const HexPos h{5, 5};
  struct Case {
    int direction, computer;
    bool river;
    int direction_value, river_value;
  } cases[] = {
      {1, 1, false, 20, 3}, {2, 1, false, 5, 3}, {6, 1, true, 5, -3}, {4, 1, false, 0, 3},
      {4, 0, false, 20, 3}, {3, 0, true, 5, -3}, {5, 0, false, 5, 3}, {1, 0, false, 0, 3},
  };
  for (const Case& c : cases) {
    SetUp();
    Sides(c.computer);
    const int own = c.computer == 0 ? 1 : 71;
    PlaceUnit(g(), own, c.computer, 9, 9);
    const HexPos e = Neighbour(h.X, h.Y, c.direction);
    PlaceUnit(g(), c.computer == 0 ? 71 : 1, 1 - c.computer, e.X, e.Y);
    if (c.river) test::MarkRiver(g(), h.X, h.Y, c.direction);
    const PositionValues v = PositionValuesAt(g(), own, h.X, h.Y);
    EXPECT_EQ(v.Contact, 8) << c.direction;
    EXPECT_EQ(v.Direction, c.direction_value) << c.computer << " " << c.direction;
    EXPECT_EQ(v.River, c.river_value) << c.direction;
    EXPECT_EQ(v.Joining, 0);
    EXPECT_EQ(PositionValuesAt(g(), own, 12, 12).Sum(), 0);  // nobody near
  }
  // A higher-ranked stack with room but less command than the unit invites it to join.
  SetUp();
  PlaceUnit(g(), 71, 1, 9, 9, {.Rank = 0, .Command = 4});
  PlaceUnit(g(), 72, 1, 5, 5, {.Rank = 1, .Command = 3});
  PlaceUnit(g(), 73, 1, 5, 5, {.Rank = 2, .Command = 2});
  EXPECT_EQ(PositionValuesAt(g(), 71, 5, 5).Joining, 20);
  g().GameState = 5;
  EXPECT_EQ(PositionValuesAt(g(), 71, 5, 5).Joining, 0);
}

TEST_F(Computer, AStandingBackUnitSteersAroundTheNearestEnemy) {
  PlaceUnit(g(), 71, 1, 5, 5);
  g().U(71).MoveGoalX = 5;
  g().U(71).MoveGoalY = 15;
  EXPECT_EQ(StandBackSteering(g(), 71, 5, 9), 0);  // no enemy within 4
  PlaceUnit(g(), 1, 0, 5, 8);
  for (int k = 1; k <= 6; ++k) {
    const HexPos n = Neighbour(5, 8, k);
    const int d = HexDistance(n.X, n.Y, 5, 15);
    EXPECT_EQ(StandBackSteering(g(), 71, n.X, n.Y), d % 2 == 1 ? 38000 - 1000 * d : 400 * d - 15200) << k;
  }
  EXPECT_EQ(StandBackSteering(g(), 71, 5, 8), 0);   // the enemy's own hex is not marked
  EXPECT_EQ(StandBackSteering(g(), 71, 5, 11), 0);  // nor anything further off
}

TEST_F(Computer, OpennessCountsMountainsAndSea) {
  struct Case {
    const char* map;
    int expected;
  } cases[] = {
      {". . .\n . . .\n. . .", 20},
      {". . .\n . . ^\n. . .", 10},        // direction 2
      {". . .\n ^ . ^\n. . .", 4},         // directions 2 and 5
      {". # .\n ^ . ^\n. . .", 3},
  };
  for (const Case& c : cases) {
    test::DrawMap(g(), c.map);
    EXPECT_EQ(Openness(g(), 1, 1), c.expected) << c.map;
  }
  test::DrawMap(g(), "");
  EXPECT_EQ(Openness(g(), 0, 0), 2);  // four sides off the map
}

// A side-0 computer on a road running east from its source at (2, 5).
class Objectives : public Computer {
 protected:
  void SetUp() override {
    Computer::SetUp();
    Sides(0);
    test::LayRoad(g(), 2, 5, std::string(15, '2'));  // (2, 5) .. (17, 5)
    test::LayRoad(g(), 9, 5, "33");                   // a branch ending at (10, 7)
  }
  bool Scored(const ObjectiveResult& r, int x, int y) const {
    for (int i = 0; i < r.ScoredHexes.Count; ++i) {
      const ObjectiveEntry& e = r.ScoredHexes.Entries[static_cast<std::size_t>(i)];
      if (e.X == x && e.Y == y) return true;
    }
    return false;
  }
};

TEST_F(Objectives, AHexWithOneRoadSideIsNeverScored) {
  ObjectiveResult r;
  EvaluateObjectives(g(), r);
  EXPECT_TRUE(Scored(r, 16, 5));   // two road sides
  EXPECT_TRUE(Scored(r, 9, 5));    // three
  EXPECT_FALSE(Scored(r, 17, 5));  // the end of the road: one
  EXPECT_FALSE(Scored(r, 10, 7));
  EXPECT_FALSE(Scored(r, 8, 8));   // off the road
  for (int i = 1; i < r.ScoredHexes.Count; ++i) {
    EXPECT_GE(r.ScoredHexes.Entries[static_cast<std::size_t>(i - 1)].Score, r.ScoredHexes.Entries[static_cast<std::size_t>(i)].Score);
  }
}

TEST_F(Objectives, TheAdvanceLimitKeepsFarColumnsOut) {
  for (const int limit : {11, 15}) {
    SetUp();
    g().AdvanceLimit = limit;
    ObjectiveResult r;
    EvaluateObjectives(g(), r);
    ASSERT_GT(r.ObjectiveList.Count, 0);
    int farthest = 0;
    for (int i = 0; i < r.ObjectiveList.Count; ++i) farthest = std::max(farthest, r.ObjectiveList.Entries[static_cast<std::size_t>(i)].X);
    if (limit == 11) {
      EXPECT_LE(farthest, 11);
    } else {
      EXPECT_GE(farthest, 12);  // the far end of the road is the best place once allowed
    }
  }
}

TEST_F(Objectives, AnEnemyAtTheGateMakesTheHexBeforeHomeTheFirstObjective) {
  ObjectiveResult calm;
  EvaluateObjectives(g(), calm);
  ASSERT_GT(calm.ObjectiveList.Count, 0);
  EXPECT_FALSE(calm.ObjectiveList.Entries[0].X == 3 && calm.ObjectiveList.Entries[0].Y == 6);
  PlaceUnit(g(), 71, 1, 4, 5, {.ActionPoints = 0});  // two hexes from (2, 5)
  ObjectiveResult r;
  EvaluateObjectives(g(), r);
  ASSERT_GT(r.ObjectiveList.Count, 0);
  EXPECT_EQ(r.ObjectiveList.Entries[0].X, 3);
  EXPECT_EQ(r.ObjectiveList.Entries[0].Y, 6);
  // Everything is pulled home: the best scored hexes lie by the source.
  EXPECT_LE(HexDistance(r.ScoredHexes.Entries[0].X, r.ScoredHexes.Entries[0].Y, 2, 5), 2);
}

// Whole games on the shipped map.
std::unique_ptr<Game> RulesGame() {
  auto g = std::make_unique<Game>();
  EXPECT_TRUE(LoadCrt(*g, std::string(MILGANT_DATA_DIR) + "/CRT.txt").Ok);
  return g;
}

SelfPlayResult Play(int human, bool both, std::uint32_t seed, std::unique_ptr<Game>* keep = nullptr) {
  auto g = RulesGame();
  SelfPlayOptions o;
  o.HumanSide = human;
  o.Both = both;
  o.Seed = seed;
  o.Turns = 12;
  o.MapPath = std::string(MILGANT_DATA_DIR) + "/Map.dat";
  SelfPlayResult r = PlaySelf(*g, o);
  if (keep) *keep = std::move(g);
  return r;
}

constexpr int kSoakSeeds = 12 / test::kSoakShare;

// The computer against a side that only ends its phases: sound after every phase, and it wins
// most games as either army.
void SoakAgainstPassive(int human) {
  int computerWins = 0;
  for (std::uint32_t seed = 1; seed <= kSoakSeeds; ++seed) {
    const SelfPlayResult r = Play(human, false, seed * 7919u);
    ASSERT_TRUE(r.Started);
    ASSERT_EQ(r.Broken, "") << "seed " << seed << " human " << human;
    EXPECT_NE(r.Winner, -1);
    if (r.Winner == 1 - human) ++computerWins;
  }
  EXPECT_GT(computerWins, kSoakSeeds / 2);
}

TEST(ComputerSoak, AgainstAPassiveSideZero) { SoakAgainstPassive(0); }
TEST(ComputerSoak, AgainstAPassiveSideOne) { SoakAgainstPassive(1); }

TEST(ComputerSoak, AgainstItselfGamesEndWithBattlesFought) {
  for (std::uint32_t seed = 1; seed <= kSoakSeeds; ++seed) {
    const SelfPlayResult r = Play(0, true, seed * 104729u);
    ASSERT_EQ(r.Broken, "") << "seed " << seed;
    EXPECT_NE(r.Winner, -1) << "seed " << seed;
    EXPECT_GT(r.Battles, 0) << "seed " << seed;
  }
}

TEST(ComputerSoak, TheSameSeedPlaysTheSameGame) {
  std::unique_ptr<Game> a, b, c;
  Play(0, true, 31337, &a);
  Play(0, true, 31337, &b);
  Play(0, true, 31338, &c);
  Snapshot(*a);
  Snapshot(*b);
  Snapshot(*c);
  EXPECT_EQ(a->SaveImage, b->SaveImage);
  EXPECT_NE(a->SaveImage, c->SaveImage);
}

TEST(ComputerSoak, EveryPhaseLeavesNoMarkAndAClosingProgramStopsIt) {
  auto g = RulesGame();
  g->Rng.SetSeed(4711);
  ScriptedUi ui;
  ui.Answers = {1};
  ASSERT_TRUE(NewGame(*g, ui, std::string(MILGANT_DATA_DIR) + "/Map.dat"));
  for (int phase = 0; phase < 12 && g->GameState != 0; ++phase) {
    PlayComputerPhaseFor(*g, ui, phase % 2);
    for (const Unit& u : g->Units) {
      if (u.OnMap == 1) {
        ASSERT_EQ(u.TargetX, -1) << "phase " << phase;
      }
    }
    ASSERT_EQ(CheckInvariants(*g).size(), 0u) << phase;
    for (int s = 1; s < kUnitSlots; ++s) {
      const Unit& u = g->U(s);
      if (u.OnMap == 1 && u.CommanderIndex != -1) {
        ASSERT_EQ(u.HexX, g->U(u.CommanderIndex).HexX) << "a subordinate strayed from its commander " << s;
        ASSERT_EQ(u.HexY, g->U(u.CommanderIndex).HexY) << s;
      }
    }
  }
  Snapshot(*g);
  const auto before = g->SaveImage;
  ui.Closing = true;
  PlayComputerPhaseFor(*g, ui, g->ComputerSide);
  Snapshot(*g);
  EXPECT_EQ(g->SaveImage, before);
}

TEST(ComputerSoak, KeptTracesEqualFreshSearchesWhateverChanged) {
  auto g = RulesGame();
  g->Rng.SetSeed(2718);
  ScriptedUi ui;
  ui.Answers = {1};
  ASSERT_TRUE(NewGame(*g, ui, std::string(MILGANT_DATA_DIR) + "/Map.dat"));
  Random pick(99);
  int compared = 0;
  auto same = [&](const char* what) {
    for (const int side : {0, 1}) {
      for (const int phase : {0, 1}) {
        g->PhaseSide = phase;
        ComputerSourceTrace(*g, side);
        const auto kept = g->SupplyRemaining;
        ComputerSourceTracePlain(*g, side);
        ASSERT_EQ(kept, g->SupplyRemaining) << what << " side " << side;
        RoadTraceFromSource(*g, side);
        const auto road = g->SupplyRemaining;
        TraceFromSourcePlain(*g, side, side == 0 ? HexPos{2, 5} : HexPos{19, 15}, 9, 45);
        ASSERT_EQ(road, g->SupplyRemaining) << what << " side " << side;
        ++compared;
      }
    }
  };
  for (int phase = 0; phase < 10 && g->GameState != 0; ++phase) {
    PlayComputerPhaseFor(*g, ui, phase % 2);
    same("after a phase");
    same("asked again");
    // Small changes the kept tables must notice: a unit steps aside, a castle changes hands.
    Unit& u = g->U(1 + pick.Next(kUnitSlots - 1));
    if (u.OnMap == 1 && u.HexX + 1 < kMapSize) ++u.HexX;
    same("a unit moved");
    Castle& c = g->Castles[static_cast<std::size_t>(1 + pick.Next(g->CastleCounter - 1))];
    c.Owner = 1 - c.Owner;
    same("a castle changed hands");
    c.Owner = 1 - c.Owner;
    g->H(pick.Next(kMapSize), pick.Next(kMapSize)).RoadSides[static_cast<std::size_t>(pick.Next(6))] ^= 1;
    same("a road changed");
  }
  EXPECT_GT(compared, 100);
}

}  // namespace
}  // namespace milgant
