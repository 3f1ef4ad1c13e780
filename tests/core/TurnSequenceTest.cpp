// The turn sequence on the scenario over a plain test map: phases, the turn counter, income
// and its cap, when each side's supply is tested, reinforcements, action points, the
// computer's replenishment, the first turn of a new game, castle occupation and victory.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "AsciiMap.h"
#include "TestFiles.h"
#include "core/rules/CastleFall.h"
#include "core/game/Scenario.h"
#include "core/turn/ScriptedUi.h"
#include "core/turn/PhaseSequence.h"
#include "core/rules/Victory.h"

namespace milgant {
namespace {

class TurnSequence : public ::testing::Test {
 protected:
  // The scenario for a human playing `side`, started as "新規" starts it.
  void Start(int side, bool roads) {
    g_ = test::FreshGame();
    g().PlayerSide = side;
    g().ComputerSide = 1 - side;
    auto map = std::make_unique<MapTable>(test::PlainMapWithCastles());
    BuildScenario(g(), *map);
    if (roads) {
      // A ladder of roads: rows 5 and 15 across the map, joined down columns 2 and 19.
      test::LayRoad(g(), 0, 5, std::string(19, '2'));
      test::LayRoad(g(), 0, 15, std::string(19, '2'));
      test::LayRoad(g(), 2, 5, "4343434343");
      test::LayRoad(g(), 19, 5, "4343434343");
    }
    g().Rng.SetSeed(20240601);
    ui_.Closing = true;  // the computer's side stands still: these tests follow the bookkeeping
    BeginNewGame(g(), ui_);
    ASSERT_EQ(test::BrokenInvariants(g()), "");
  }
  // Three presses: replenishment, organisation, action; the turn ends.
  void EndTurn() {
    for (int i = 0; i < 3; ++i) {
      PhaseEnd(g(), ui_);
      ASSERT_EQ(test::BrokenInvariants(g()), "") << "after press " << i;
    }
  }
  void MoveCorps(int slot, int x, int y) {
    Unit& u = g().U(slot);
    u.HexX = static_cast<std::uint8_t>(x);
    u.HexY = static_cast<std::uint8_t>(y);
    for (int i = 0; i < u.SubordinateCount; ++i) {
      g().U(u.Subordinates[static_cast<std::size_t>(i)]).HexX = static_cast<std::uint8_t>(x);
      g().U(u.Subordinates[static_cast<std::size_t>(i)]).HexY = static_cast<std::uint8_t>(y);
    }
  }
  Game& g() { return *g_; }
  std::unique_ptr<Game> g_;
  ScriptedUi ui_;
};

TEST_F(TurnSequence, ThreePressesEndTheTurnAndAFourthOnlyStartsOrganisation) {
  Start(0, true);
  EXPECT_EQ(g().GameState, 2);
  EXPECT_EQ(g().Turn, 1);
  EXPECT_TRUE(g().Button(UnitButton::Replenish));  // the first phase of a new game too
  EXPECT_FALSE(g().Button(UnitButton::Move));
  PhaseEnd(g(), ui_);
  EXPECT_EQ(g().GameState, 27);
  EXPECT_TRUE(g().Button(UnitButton::Detach));
  EXPECT_FALSE(g().Button(UnitButton::Move));
  g().U(3).TargetX = 4;
  g().U(3).TargetY = 4;
  PhaseEnd(g(), ui_);
  EXPECT_EQ(g().GameState, 3);
  EXPECT_EQ(g().U(3).TargetX, -1);
  EXPECT_TRUE(g().Button(UnitButton::Move));
  EXPECT_FALSE(g().Button(UnitButton::Replenish));
  PhaseEnd(g(), ui_);
  EXPECT_EQ(g().GameState, 2);
  EXPECT_EQ(g().Turn, 2);
  EXPECT_EQ(g().PhaseSide, 0);
  EXPECT_TRUE(g().Button(UnitButton::Replenish));
  PhaseEnd(g(), ui_);
  EXPECT_EQ(g().GameState, 27);
  EXPECT_EQ(g().Turn, 2);
}

TEST_F(TurnSequence, PhaseEndDoesNothingInOtherStates) {
  Start(0, true);
  for (const int state : {0, 4, 6, 7, 15, 24}) {
    g().GameState = state;
    const std::uint32_t seed = g().Rng.Seed();
    PhaseEnd(g(), ui_);
    EXPECT_EQ(g().GameState, state);
    EXPECT_EQ(g().Turn, 1);
    EXPECT_EQ(g().Rng.Seed(), seed);
  }
}

TEST_F(TurnSequence, SideZeroIncomeIsCappedTheComputersIsNot) {
  Start(0, true);
  EXPECT_EQ(g().ReplenishmentPoints[0], 10);
  EXPECT_EQ(g().ReplenishmentPoints[1], 0);
  g().ReplenishmentPoints[0] = 48;
  g().ReplenishmentPoints[1] = 100;  // nothing to spend it on: every unit is at full strength
  EndTurn();
  EXPECT_EQ(g().Turn, 2);
  EXPECT_EQ(g().ReplenishmentPoints[0], 50);
  EXPECT_EQ(g().ReplenishmentPoints[1], 120);  // side 1 earns 20 on turn 2
}

TEST_F(TurnSequence, SideOneStartsAtOnceAndItsIncomeIsCapped) {
  Start(1, true);
  EXPECT_EQ(g().Turn, 1);
  EXPECT_EQ(g().GameState, 2);
  EXPECT_EQ(g().PhaseSide, 1);
  EXPECT_EQ(g().ReplenishmentPoints[1], 10);
  // The human's corps have their action points, the computer's have not rolled yet.
  EXPECT_EQ(g().U(71).TurnActionPoints, g().U(71).ActionPoints);
  EXPECT_EQ(g().U(71).MaxActionPoints, g().U(71).CorpsActionPoints);
  EXPECT_EQ(g().U(3).MaxActionPoints, 5);
  g().ReplenishmentPoints[0] = 100;
  g().ReplenishmentPoints[1] = 45;
  EndTurn();
  EXPECT_EQ(g().Turn, 2);
  EXPECT_EQ(g().ReplenishmentPoints[0], 110);
  EXPECT_EQ(g().ReplenishmentPoints[1], 50);
  EXPECT_EQ(g().GameState, 2);
  EXPECT_EQ(g().PhaseSide, 1);
  EXPECT_EQ(g().U(3).MaxActionPoints, g().U(3).CorpsActionPoints);  // the computer's side rolled
}

TEST_F(TurnSequence, SupplyIsTestedForSideOneFromTurnFourAndForSideZeroEveryTurn) {
  // The computer replenishes its losses at once, so its units show the test by their flag;
  // the human's show it by their steps.
  for (const int human : {0, 1}) {
    SCOPED_TRACE(human);
    Start(human, false);
    MoveCorps(76, 12, 18);  // side 1, cut off: B06 and B13
    MoveCorps(4, 12, 12);   // side 0, cut off: A04, A07 and A12
    EndTurn();
    EXPECT_EQ(g().U(4).Supplied, 0);
    EXPECT_EQ(g().U(4).Steps, 7);
    EXPECT_EQ(g().U(76).Supplied, 1);
    EndTurn();
    EndTurn();
    EXPECT_EQ(g().U(76).Supplied, 1);
    EXPECT_EQ(g().U(76).Steps, 10);
    EXPECT_EQ(g().Turn, 4);
    EndTurn();  // ends turn 4
    EXPECT_EQ(g().U(76).Supplied, 0);
    EXPECT_EQ(g().U(76).Steps, human == 1 ? 7 : 10);
    EXPECT_EQ(g().U(4).OnMap, human == 0 ? 0 : 1);  // the human's 10 steps last three checks
  }
}

TEST_F(TurnSequence, ReinforcementsArriveOnTheirTurnUnlessTheEnemyHoldsTheirHex) {
  Start(0, true);
  test::PlaceUnit(g(), 100, 1, 5, 6);  // on the entry hex of A10 (turn 5)
  EndTurn();
  EndTurn();
  EXPECT_EQ(g().Turn, 3);
  EXPECT_EQ(g().U(2).OnMap, 0);
  EndTurn();
  EXPECT_EQ(g().Turn, 4);
  EXPECT_EQ(g().U(2).OnMap, 1);  // A02 and his corps
  EXPECT_EQ(g().U(8).OnMap, 1);
  EXPECT_EQ(g().U(2).CanMove, 1);
  EndTurn();
  EXPECT_EQ(g().U(11).OnMap, 1);
  EXPECT_EQ(g().U(10).OnMap, 0);
  g().U(100).OnMap = 0;
  EndTurn();
  EXPECT_EQ(g().U(10).OnMap, 0);  // its turn has passed
}

TEST_F(TurnSequence, AnEndingStopsTheTurnBeforeTheCounterMoves) {
  Start(0, true);
  ui_.MusicStart();
  g().Turn = 10;
  g().VictoryPoints = 16;
  g().GameState = 3;
  const std::uint32_t seed = g().Rng.Seed();
  PhaseEnd(g(), ui_);
  EXPECT_EQ(g().GameState, 0);
  EXPECT_EQ(g().Turn, 10);
  EXPECT_EQ(ui_.EndingWinner, 1);
  EXPECT_FALSE(ui_.MusicPlaying);
  EXPECT_EQ(g().Rng.Seed(), seed);  // no action points, no computer phase
  PhaseEnd(g(), ui_);
  EXPECT_EQ(g().GameState, 0);
}

TEST_F(TurnSequence, TurnNineGoesOnAndTurnTenEnds) {
  Start(1, true);
  g().Turn = 9;
  g().VictoryPoints = 15;
  EndTurn();
  EXPECT_EQ(g().GameState, 2);
  EXPECT_EQ(g().Turn, 10);
  EndTurn();
  EXPECT_EQ(g().GameState, 0);
  EXPECT_EQ(ui_.EndingWinner, 0);
}

TEST_F(TurnSequence, VictoryNeedsSixteenPointsOrTheHomeCity) {
  Start(0, true);
  g().Turn = 10;
  g().VictoryPoints = 16;
  EXPECT_EQ(Winner(g()), 1);
  g().VictoryPoints = 15;
  EXPECT_EQ(Winner(g()), 0);
  g().Turn = 1;
  EXPECT_EQ(Winner(g()), -1);
  g().H(2, 5).Terrain = 9;
  EXPECT_EQ(Winner(g()), 1);
}

TEST_F(TurnSequence, OccupationMovesCastlesAndPoints) {
  Start(0, true);
  // Castle 16 "瀬田城" (5, 6), a city of side 0; castle 18 "京" (2, 5) made a large city.
  test::PlaceUnit(g(), 100, 1, 5, 6);
  g().H(2, 5).Terrain = 10;
  test::PlaceUnit(g(), 30, 0, 2, 5);
  test::PlaceUnit(g(), 101, 1, 2, 5);  // behind side 0's unit: no change
  OccupyCastles(g(), ui_);
  EXPECT_EQ(g().Castles[16].Owner, 1);
  EXPECT_EQ(g().H(5, 6).Terrain, 9);
  EXPECT_EQ(g().Castles[18].Owner, 0);
  EXPECT_EQ(g().VictoryPoints, 1);

  g().U(100).HexX = 6;  // leaves; side 1 keeps the castle
  OccupyCastles(g(), ui_);
  EXPECT_EQ(g().Castles[16].Owner, 1);
  EXPECT_EQ(g().VictoryPoints, 1);

  g().Castles[18].Owner = 1;
  g().H(2, 5).Terrain = 11;
  g().VictoryPoints = 5;
  OccupyCastles(g(), ui_);  // side 0's unit stands first on it
  EXPECT_EQ(g().Castles[18].Owner, 0);
  EXPECT_EQ(g().H(2, 5).Terrain, 10);
  EXPECT_EQ(g().VictoryPoints, 3);

  EXPECT_EQ(VictoryPointChange(11), 2);
  EXPECT_EQ(VictoryPointChange(13), 0);
  EXPECT_EQ(VictoryPointChange(12), 0);
  EXPECT_EQ(VictoryPointChange(8), -1);
  EXPECT_EQ(test::BrokenInvariants(g()), "");
}

TEST_F(TurnSequence, APortChangesHandsWithoutPoints) {
  Start(0, true);
  g().H(5, 6).Terrain = 12;
  test::PlaceUnit(g(), 100, 1, 5, 6);
  OccupyCastles(g(), ui_);
  EXPECT_EQ(g().H(5, 6).Terrain, 13);
  EXPECT_EQ(g().Castles[16].Owner, 1);
  EXPECT_EQ(g().VictoryPoints, 0);
}

TEST_F(TurnSequence, ActionPointsAreRolledInSlotOrderWithSubordinatesAfterTheirCommander) {
  Start(0, true);
  Game& game = g();
  game.Rng.SetSeed(777);
  Random expect(777);
  ActionPointRoll(game, 0);
  for (int slot = 1; slot <= 70; ++slot) {
    const Unit& u = game.U(slot);
    if (u.OnMap != 1 || u.CommanderIndex != -1) continue;
    const int c = u.CorpsActionPoints;
    const int h = c / 2;
    EXPECT_EQ(u.ActionPoints, h + expect.Next(c - h)) << slot;
    EXPECT_EQ(u.MaxActionPoints, c);
    for (int i = 0; i < u.SubordinateCount; ++i) {
      const Unit& s = game.U(u.Subordinates[static_cast<std::size_t>(i)]);
      EXPECT_EQ(s.ActionPoints, h + expect.Next(c - h + 1)) << slot;
      EXPECT_EQ(s.TurnActionPoints, s.ActionPoints);
      EXPECT_EQ(s.OwnActionPoints, s.CorpsActionPoints / 2 + expect.Next(s.CorpsActionPoints - s.CorpsActionPoints / 2));
    }
  }
  EXPECT_EQ(game.Rng.Seed(), expect.Seed());
}

TEST_F(TurnSequence, OnlySubordinatesCanReachTheFullAllotment) {
  Start(0, true);
  bool subordinateFull = false;
  for (std::uint32_t seed = 1; seed < 300; ++seed) {
    g().Rng.SetSeed(seed);
    ActionPointRoll(g(), 0);
    const Unit& cmd = g().U(3);  // A03: allotment 9, subordinates A05 and A06
    EXPECT_GE(cmd.ActionPoints, 4);
    EXPECT_LE(cmd.ActionPoints, 8);
    for (const int sub : {5, 6}) {
      EXPECT_GE(g().U(sub).ActionPoints, 4);
      EXPECT_LE(g().U(sub).ActionPoints, 9);
      subordinateFull = subordinateFull || g().U(sub).ActionPoints == 9;
    }
  }
  EXPECT_TRUE(subordinateFull);
}

TEST_F(TurnSequence, TheComputerReplenishesFarthestAndClassTwoFirst) {
  Start(0, true);
  for (int slot = 71; slot <= 88; ++slot) g().U(slot).OnMap = 0;
  for (int slot = 1; slot <= 70; ++slot) g().U(slot).OnMap = 0;
  test::PlaceUnit(g(), 1, 0, 10, 10);
  test::PlaceUnit(g(), 71, 1, 10, 15, {.Steps = 10, .CombatPower = 10, .MovementType = 2});  // 5 away
  test::PlaceUnit(g(), 72, 1, 10, 12, {.Steps = 10, .CombatPower = 10});                    // 2 away
  test::PlaceUnit(g(), 73, 1, 11, 10, {.Steps = 10, .CombatPower = 10});                    // in contact
  g().U(71).Steps = 6;
  g().U(72).Steps = 7;
  g().U(73).Steps = 5;
  g().ReplenishmentPoints[1] = 10;
  ComputerReplenishment(g(), ui_);
  EXPECT_EQ(g().U(71).Steps, 10);  // 4 missing at double cost: 8 points
  EXPECT_EQ(g().U(72).Steps, 9);   // the 2 left
  EXPECT_EQ(g().U(72).CombatPower, 9);
  EXPECT_EQ(g().U(73).Steps, 5);
  EXPECT_EQ(g().ReplenishmentPoints[1], 0);

  g().U(71).Steps = 6;
  g().ReplenishmentPoints[1] = 5;  // not enough for class 2: the points are halved
  ComputerReplenishment(g(), ui_);
  EXPECT_EQ(g().U(71).Steps, 8);
  EXPECT_EQ(g().U(71).CombatPower, 8);
  EXPECT_EQ(g().ReplenishmentPoints[1], 0);
}

TEST_F(TurnSequence, TheFirstTurnAgainstASideZeroHumanIsTheComputers) {
  Start(0, true);
  EXPECT_EQ(g().Turn, 1);
  EXPECT_EQ(g().GameState, 2);
  EXPECT_EQ(g().PhaseSide, 0);
  EXPECT_EQ(g().ReplenishmentPoints[0], 10);
  EXPECT_EQ(g().U(3).MayAttack, 1);
  EXPECT_EQ(g().U(71).MayAttack, 1);
  EXPECT_EQ(g().U(1).MayAttack, 0);  // not on the map yet
  EXPECT_EQ(g().U(71).TurnActionPoints, g().U(71).ActionPoints);
  EXPECT_EQ(OpeningBattles(g()).Count, 0);  // nobody has marked a target yet

  // Targets marked by the human's side are attacked strongest first.
  g().U(16).TargetX = 18;  // against 岡崎城 (18, 11)
  g().U(16).TargetY = 11;
  g().U(17).TargetX = 19;
  g().U(17).TargetY = 13;
  g().U(18).TargetX = 19;
  g().U(18).TargetY = 13;
  const OpeningBattleList list = OpeningBattles(g());
  ASSERT_EQ(list.Count, 2);
  EXPECT_GE(list.Hexes[0].Odds, list.Hexes[1].Odds);
  EXPECT_GT(list.Hexes[1].Odds, 0.0);
}

}  // namespace
}  // namespace milgant
