// The stronger computer opponent: its decisions on small drawn positions (an undefended castle
// within reach is taken, the home castle is not left empty with an enemy corps in reach, a
// hopeless attack is refused), its weighing leaving the game and the generator untouched, and
// whole games: the same seed plays the same game, and it beats a side that only ends its phases.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "AsciiMap.h"
#include "TestFiles.h"
#include "core/game/InputScript.h"
#include "core/ai/Opponent.h"
#include "core/ai/StrongPhase.h"
#include "core/game/RuleTables.h"
#include "core/game/SaveImage.h"
#include "core/game/Scenario.h"
#include "core/turn/ScriptedUi.h"
#include "core/turn/SelfPlay.h"

namespace milgant {
namespace {

using test::PlaceUnit;

const std::string kData = MILGANT_DATA_DIR;

class Strong : public ::testing::Test {
 protected:
  void SetUp() override {
    g_ = test::FreshGame();
    test::DrawMap(g(), "");
    ASSERT_TRUE(LoadCrt(g(), kData + "/CRT.txt").Ok);
    g().ComputerOpponent = Opponent::Strong;
    g().GameState = 15;
    g().Turn = 3;
    Sides(1);
  }
  void Sides(int computer) {
    g().ComputerSide = computer;
    g().PlayerSide = 1 - computer;
    g().PhaseSide = computer;
  }
  void Castle(int number, int x, int y, int owner, int terrain) {
    g().H(x, y).Terrain = terrain;
    AddCastle(g(), number, "城", x, y, owner, 4, 2, 40, {999, 999, 999, 999, 999});
  }
  Game& g() { return *g_; }
  std::unique_ptr<Game> g_;
  ScriptedUi ui_;
};

TEST_F(Strong, TakesAnUndefendedCastleWithinReach) {
  struct Case {
    int side;
    int castleX, castleY;
    int terrain;        // the city as its holder has it
    int pointsAfter;    // side 1's victory points after the phase
  } cases[] = {
      {1, 8, 5, 8, 1},    // side 1 takes a city of side 0: one point
      {1, 8, 5, 10, 2},   // a large city: two
      {0, 8, 5, 9, -1},   // side 0 takes one back: side 1 loses the point
  };
  for (const Case& c : cases) {
    SetUp();
    Sides(c.side);
    const int own = c.side == 0 ? 1 : 71;
    const int enemy = c.side == 0 ? 71 : 1;
    PlaceUnit(g(), own, c.side, 5, 5, {.Steps = 20, .CombatPower = 20});
    PlaceUnit(g(), enemy, 1 - c.side, 15, 15);  // far away
    Castle(1, c.castleX, c.castleY, 1 - c.side, c.terrain);
    RunOpponentPhase(g(), ui_);
    EXPECT_EQ(g().Castles[1].Owner, c.side) << c.side << " " << c.terrain;
    EXPECT_EQ(g().VictoryPoints, c.pointsAfter) << c.side << " " << c.terrain;
    EXPECT_EQ(test::BrokenInvariants(g()), "");
  }
}

TEST_F(Strong, DoesNotLeaveItsHomeCastleEmptyWithAnEnemyCorpsInReach) {
  struct Case {
    int side;
    HexPos home;      // 京 for side 0, 吉田城 for side 1
    int homeTerrain;
    HexPos enemy;     // an enemy corps a march away
    HexPos bait;      // an empty enemy city a few hexes off the other way
  } cases[] = {
      {0, {2, 5}, 10, {6, 5}, {2, 9}},
      {1, {19, 15}, 13, {16, 14}, {19, 11}},
  };
  for (const Case& c : cases) {
    SetUp();
    Sides(c.side);
    const int own = c.side == 0 ? 1 : 71;
    const int enemy = c.side == 0 ? 71 : 1;
    Castle(1, c.home.X, c.home.Y, c.side, c.homeTerrain);
    Castle(2, c.bait.X, c.bait.Y, 1 - c.side, c.side == 0 ? 9 : 8);
    PlaceUnit(g(), own, c.side, c.home.X, c.home.Y, {.Steps = 20, .CombatPower = 20});
    PlaceUnit(g(), enemy, 1 - c.side, c.enemy.X, c.enemy.Y, {.Steps = 30, .CombatPower = 30});
    RunOpponentPhase(g(), ui_);
    EXPECT_EQ(g().U(own).HexX, c.home.X) << c.side;
    EXPECT_EQ(g().U(own).HexY, c.home.Y) << c.side;
    EXPECT_EQ(g().Castles[1].Owner, c.side);
  }
}

TEST_F(Strong, RefusesAnAttackItJudgesHopeless) {
  struct Case {
    int own, enemy;   // combat power of the two stacks, steps alike
    bool attacks;
  } cases[] = {{5, 60, false}, {10, 40, false}, {60, 5, true}, {40, 10, true}};
  for (const Case& c : cases) {
    SetUp();
    const HexPos at{5, 5};
    const HexPos target = Neighbour(at.X, at.Y, 1);
    PlaceUnit(g(), 71, 1, at.X, at.Y, {.Steps = c.own, .CombatPower = c.own});
    PlaceUnit(g(), 1, 0, target.X, target.Y, {.Steps = c.enemy, .CombatPower = c.enemy});
    auto p = std::make_unique<StrongPicture>();
    ReadPicture(g(), *p);
    SendCorps(g(), *p);
    const double worth = AttackWorth(g(), *p, 71, at, target, g().U(71).ActionPoints);
    EXPECT_EQ(worth > 0.0, c.attacks) << c.own << " against " << c.enemy << ": " << worth;
    RunOpponentPhase(g(), ui_);
    EXPECT_EQ(ui_.BattleShows > 0, c.attacks) << c.own << " against " << c.enemy;
    ui_ = ScriptedUi{};
  }
}

// Whole games on the shipped map.
SelfPlayResult Play(Opponent side0, Opponent side1, bool passive0, std::uint32_t seed, std::unique_ptr<Game>* keep = nullptr,
                    int turns = 12) {
  auto g = std::make_unique<Game>();
  EXPECT_TRUE(LoadCrt(*g, kData + "/CRT.txt").Ok);
  SelfPlayOptions o;
  o.HumanSide = 0;
  o.Both = !passive0;
  o.Players = {side0, side1};
  o.Seed = seed;
  o.Turns = turns;
  o.MapPath = kData + "/Map.dat";
  SelfPlayResult r = PlaySelf(*g, o);
  if (keep) *keep = std::move(g);
  return r;
}

TEST(StrongGames, TheSameSeedPlaysTheSameGameByteForByte) {
  std::unique_ptr<Game> a, b, c;
  const SelfPlayResult ra = Play(Opponent::Standard, Opponent::Strong, false, 4242, &a);
  const SelfPlayResult rb = Play(Opponent::Standard, Opponent::Strong, false, 4242, &b);
  Play(Opponent::Standard, Opponent::Strong, false, 4243, &c);
  ASSERT_EQ(ra.Broken, "");
  Snapshot(*a);
  Snapshot(*b);
  Snapshot(*c);
  EXPECT_EQ(a->SaveImage, b->SaveImage);
  EXPECT_NE(a->SaveImage, c->SaveImage);
  EXPECT_EQ(ra.Events.size(), rb.Events.size());
  EXPECT_EQ(ra.Battles, rb.Battles);
  EXPECT_EQ(ra.CastlesTaken.size(), rb.CastlesTaken.size());
}

// The choice is the program's, not the game's: a load starting from the running game keeps it,
// a recording names it.
TEST(StrongGames, TheChoiceOutlivesALoadAndIsRecorded) {
  std::unique_ptr<Game> g;
  Play(Opponent::Standard, Opponent::Strong, false, 5, &g, 2);
  g->ComputerOpponent = Opponent::Strong;
  Snapshot(*g);
  auto loaded = std::make_unique<Game>();
  ASSERT_TRUE(LoadSaveImage(*g, g->SaveImage, g->Map, *loaded).Ok);
  EXPECT_EQ(loaded->ComputerOpponent, Opponent::Strong);
  test::TempDir dir;
  InputRecorder recorder(dir.File("rec.txt"));
  ASSERT_TRUE(recorder.Begin(1u, 11, g->SaveImage, "新規", nullptr, nullptr, Opponent::Strong));
  recorder.Write(Input::MenuCommand(MenuItem::PhaseEnd));
  const auto bytes = test::ReadBytes(dir.File("rec.txt"));
  const InputScript script = ParseInputScript(std::string(bytes.begin(), bytes.end()));
  EXPECT_EQ(script.Played, Opponent::Strong);
}

TEST(StrongGames, WeighingAMoveDrawsNothingAndChangesNothing) {
  std::unique_ptr<Game> g;
  Play(Opponent::Standard, Opponent::Strong, false, 77, &g, 4);
  ASSERT_NE(g->GameState, 0);
  g->ComputerSide = 1;
  g->PlayerSide = 0;
  g->PhaseSide = 1;
  Snapshot(*g);
  const auto before = g->SaveImage;
  const std::uint32_t seed = g->Rng.Seed();
  auto p = std::make_unique<StrongPicture>();
  ReadPicture(*g, *p);
  SendCorps(*g, *p);
  int weighed = 0;
  for (int s = 71; s < kUnitSlots; ++s) {
    const Unit& u = g->U(s);
    if (u.OnMap != 1 || u.CommanderIndex != -1) continue;
    ChooseStrongAction(*g, *p, s);
    ++weighed;
  }
  EXPECT_GT(weighed, 0);
  Snapshot(*g);
  EXPECT_EQ(g->SaveImage, before);
  EXPECT_EQ(g->Rng.Seed(), seed);
}

TEST(StrongGames, BeatsASideThatOnlyEndsItsPhases) {
  for (std::uint32_t seed = 1; seed <= 4; ++seed) {
    const SelfPlayResult r = Play(Opponent::Standard, Opponent::Strong, true, seed);
    ASSERT_EQ(r.Broken, "") << seed;
    EXPECT_EQ(r.Winner, 1) << seed;
    EXPECT_GE(r.VictoryPoints, 16) << seed;
  }
}

}  // namespace
}  // namespace milgant
