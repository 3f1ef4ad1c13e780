// Whole battles on small fields: how many rounds they last, what they say, who retreats, how
// castles fall and who moves in; the computer defender's trial retreat; reinforcements.
#include <gtest/gtest.h>

#include <algorithm>

#include "BattleTestSupport.h"
#include "core/combat/ForceRatio.h"
#include "core/rules/PositionValue.h"
#include "core/combat/Battle.h"
#include "core/combat/BattleRound.h"
#include "core/combat/Reinforcement.h"
#include "core/combat/Retreat.h"
#include "core/game/SaveImage.h"
#include "core/game/Scenario.h"
#include "core/turn/PhaseSequence.h"

namespace milgant {
namespace {

using test::Mark;
using test::PlaceUnit;

// Morale 7 is never reached by a die: nobody falls into confusion unless a test wants it.
constexpr test::PieceStats kSteady{.Steps = 10, .CombatPower = 10, .Morale = 7};

class Battle : public ::testing::Test {
 protected:
  void SetUp() override {
    g_ = test::BattleField();
    ui_ = ScriptedUi{};
  }
  Game& g() { return *g_; }
  std::vector<std::string> Texts() const { return ui_.TextsOf("battle"); }
  int Count(const std::string& text) const {
    const auto t = Texts();
    return static_cast<int>(std::count(t.begin(), t.end(), text));
  }
  // The text of the first question with this caption.
  std::string QuestionText(const std::string& caption) const {
    for (const auto& e : ui_.Log) {
      if ((e.Kind == "question" || e.Kind == "choice") && e.Caption == caption) return e.Text;
    }
    return "";
  }
  std::vector<std::string> Questions() const {
    std::vector<std::string> out;
    for (const auto& e : ui_.Log) {
      if (e.Kind == "question" || e.Kind == "choice") out.push_back(e.Caption);
    }
    return out;
  }
  bool AnyMarks() const {
    for (const Unit& u : g_->Units) {
      if (u.TargetX == 5 && u.TargetY == 5) return true;
    }
    return false;
  }
  // A castle on (5, 5) held by side 1, ringed by sea but for the attacker's hex (4, 5).
  void SeaRingedCastle(int durability, int strength) {
    for (int d = 1; d <= 6; ++d) {
      const HexPos n = Neighbour(5, 5, d);
      if (!(n == HexPos{4, 5})) g().H(n.X, n.Y).Terrain = 7;
    }
    g().H(5, 5).Terrain = 9;
    AddCastle(g(), 1, "吉田城", 5, 5, 1, durability, strength, 40, {999, 999, 999, 999, 999});
  }
  BattleResult Fight() {
    const BattleResult r = FightBattle(g(), ui_, 5, 5);
    EXPECT_EQ(test::BrokenInvariants(g()), "");
    EXPECT_FALSE(AnyMarks());
    return r;
  }
  std::unique_ptr<Game> g_;
  ScriptedUi ui_;
};

TEST_F(Battle, ASingleBattleIsOneRound) {
  test::FillCrt(g(), [](int, int) { return 1; });
  PlaceUnit(g(), 1, 0, 4, 5, kSteady);
  PlaceUnit(g(), 71, 1, 5, 5, kSteady);
  Mark(g(), 1, 5, 5);
  g().FullAttack = 0;
  ui_.Answers = {0};
  const BattleResult r = Fight();
  EXPECT_EQ(r.Rounds, 1);
  const std::vector<std::string> want = {"ヴァルネ方野戦第1ラウンド", "ヴァルネ軍 武将1に1のダメージ",
                                         "ヴァルネ軍 武将1に1のダメージ",
                                         "ソルカ軍 武将71が1ポイントのダメージを受けました", "戦闘終了"};
  EXPECT_EQ(Texts(), want);
  EXPECT_EQ(Questions(), std::vector<std::string>{"攻撃側後退判定"});
  EXPECT_EQ(QuestionText("攻撃側後退判定"), "1ステップの損害 後退しますか？");
  EXPECT_EQ(g().U(1).Steps, 9);
  EXPECT_EQ(g().U(71).Steps, 9);
  EXPECT_EQ(g().U(71).CombatPower, 9);
  EXPECT_EQ(ui_.BattleShows, 1);
  EXPECT_EQ(ui_.AttackArrows, 2);  // at the start and at the round
  EXPECT_EQ(ui_.LastSides.AttackerStrength, 10);
}

TEST_F(Battle, NobodyMarkedMeansNoBattle) {
  PlaceUnit(g(), 71, 1, 5, 5, kSteady);
  EXPECT_EQ(FightBattle(g(), ui_, 5, 5).Rounds, 0);
  EXPECT_EQ(FightBattle(g(), ui_, -1, -1).Rounds, 0);
  EXPECT_TRUE(ui_.Log.empty());
}

TEST_F(Battle, EqualResultsEscalateAnEngagementToSixRoundsWithoutRetreats) {
  test::FillCrt(g(), [](int, int) { return 1; });
  PlaceUnit(g(), 1, 0, 4, 5, kSteady);
  PlaceUnit(g(), 71, 1, 5, 5, kSteady);
  Mark(g(), 1, 5, 5);
  g().FullAttack = 1;
  const BattleResult r = Fight();
  EXPECT_EQ(r.Rounds, 6);
  EXPECT_TRUE(Questions().empty());
  EXPECT_TRUE(ui_.RetreatArrows.empty());
  const auto t = Texts();
  EXPECT_EQ(t[1], "合戦がエスカレートしました。6ラウンドまで延長します。");
  EXPECT_EQ(t[2], "双方後退はできません");
  EXPECT_EQ(Count("ヴァルネ方野戦第6ラウンド"), 1);
  EXPECT_EQ(t.back(), "合戦終了");
  EXPECT_EQ(g().U(1).Steps, 4);
  EXPECT_EQ(g().U(71).Steps, 4);
}

TEST_F(Battle, AnEngagementWithoutEscalationEndsAfterThreeRounds) {
  // The attacker always deals 1 and takes none: the results never match.
  test::FillCrt(g(), [](int c, int) { return c >= 4 ? 1 : 0; });
  PlaceUnit(g(), 1, 0, 4, 5, kSteady);
  PlaceUnit(g(), 71, 1, 5, 5, {.Steps = 10, .CombatPower = 1, .Morale = 7});
  for (int d = 1; d <= 6; ++d) {  // the sea behind the defender: it can only hold
    const HexPos n = Neighbour(5, 5, d);
    if (!(n == HexPos{4, 5})) g().H(n.X, n.Y).Terrain = 7;
  }
  Mark(g(), 1, 5, 5);
  g().FullAttack = 1;
  ui_.Answers = {0, 0, 0};
  const BattleResult r = Fight();
  EXPECT_EQ(r.Rounds, 3);
  EXPECT_EQ(Texts().back(), "合戦終了");
  EXPECT_EQ(g().U(71).Steps, 7);
}

TEST_F(Battle, ACastleWithoutUnitsFallsAfterOneRoundAndTheLeaderMovesIn) {
  test::FillCrt(g(), [](int, int) { return 1; });
  g().H(5, 5).Terrain = 9;
  AddCastle(g(), 1, "吉田城", 5, 5, 1, 4, 2, 40, {999, 999, 999, 999, 999});
  PlaceUnit(g(), 1, 0, 4, 5, kSteady);
  PlaceUnit(g(), 2, 0, 4, 5, kSteady);
  test::Attach(g(), 1, 2);
  Mark(g(), 1, 5, 5);
  Mark(g(), 2, 5, 5);
  g().U(1).Fortified = 1;
  g().FullAttack = 1;
  ui_.Answers = {0};
  const int points = g().VictoryPoints;
  const BattleResult r = Fight();
  EXPECT_EQ(r.Rounds, 1);
  EXPECT_TRUE(r.CastleFallen);
  EXPECT_EQ(r.AdvancedUnit, 1);
  const auto t = Texts();
  EXPECT_EQ(t[0], "ヴァルネ方攻城戦第1ラウンド");
  EXPECT_EQ(Count("吉田城は落城しました。"), 1);
  EXPECT_EQ(t.back(), "戦闘終了");
  const Castle& c = g().Castles[1];
  EXPECT_EQ(c.Owner, 0);
  EXPECT_EQ(g().H(5, 5).Terrain, 8);
  EXPECT_EQ(g().VictoryPoints, points - 1);
  EXPECT_EQ(c.Durability, 4);
  for (int slot : {1, 2}) {
    EXPECT_EQ(g().U(slot).HexX, 5);
    EXPECT_EQ(g().U(slot).HexY, 5);
  }
  EXPECT_EQ(g().U(1).Fortified, 0);
}

TEST_F(Battle, ABreachedGarrisonIsRestoredForTheNewHolderAndEveryDefenderFalls) {
  test::FillCrt(g(), [](int, int) { return 10; });
  SeaRingedCastle(1, 3);
  PlaceUnit(g(), 1, 0, 4, 5, {.Steps = 30, .CombatPower = 30, .Morale = 7});
  for (int slot : {71, 72, 73}) PlaceUnit(g(), slot, 1, 5, 5, {.Steps = 5, .CombatPower = 5, .Morale = 7});
  Mark(g(), 1, 5, 5);
  g().FullAttack = 0;
  ui_.Answers = {0};
  const BattleResult r = Fight();
  EXPECT_TRUE(r.CastleFallen);
  EXPECT_EQ(Count("ソルカ軍 武将72が3ポイントのダメージを受けました"), 1);
  EXPECT_EQ(Count("吉田城が1ポイントのダメージを受けました"), 1);
  EXPECT_EQ(Count("吉田城は落城しました。"), 1);
  for (int slot : {71, 72, 73}) {
    EXPECT_EQ(g().U(slot).OnMap, 0);
    EXPECT_EQ(Count("ソルカ軍 武将" + std::to_string(slot) + "が全滅しました"), 1);
  }
  const Castle& c = g().Castles[1];
  EXPECT_EQ(c.Owner, 0);
  EXPECT_EQ(c.Durability, 1);
  EXPECT_EQ(c.Strength, 3);
  EXPECT_EQ(g().U(1).HexX, 5);  // the attacker moves into the castle
  EXPECT_EQ(g().U(1).Steps, 20);
}

TEST_F(Battle, AGarrisonHitButNotBreachedLosesStrength) {
  test::FillCrt(g(), [](int c, int) { return c >= 5 ? 6 : 0; });
  SeaRingedCastle(10, 20);
  PlaceUnit(g(), 1, 0, 4, 5, {.Steps = 30, .CombatPower = 30, .Morale = 7});
  PlaceUnit(g(), 71, 1, 5, 5, {.Steps = 2, .CombatPower = 0, .Morale = 7});
  Mark(g(), 1, 5, 5);
  g().FullAttack = 0;
  ui_.Answers = {0, 0};  // no retreat, then the siege is called off
  g().Rng.SetSeed(9);
  EXPECT_EQ(Fight().Rounds, 1);
  // 6 hits over 2 + 10 steps: the unit's share is 1, the garrison takes the other 5.
  EXPECT_EQ(Count("吉田城が5ポイントのダメージを受けました"), 1);
  EXPECT_EQ(g().Castles[1].Durability, 5);
  EXPECT_EQ(g().Castles[1].Strength, 10);
  EXPECT_EQ(g().U(71).Steps, 1);
}

TEST_F(Battle, TheHumanCallingOffASiegeEndsIt) {
  test::FillCrt(g(), [](int, int) { return 0; });
  SeaRingedCastle(4, 2);
  PlaceUnit(g(), 1, 0, 4, 5, kSteady);
  PlaceUnit(g(), 71, 1, 5, 5, kSteady);
  // Two dice, then the two draws of 7 that would end the siege by chance must differ.
  std::uint32_t seed = 1;
  for (;; ++seed) {
    Random r(seed);
    r.Next(6);
    r.Next(6);
    if (r.Next(7) != r.Next(7)) break;
  }
  g().Rng.SetSeed(seed);
  Mark(g(), 1, 5, 5);
  g().FullAttack = 1;
  ui_.Answers = {0, 0};
  const BattleResult r = Fight();
  EXPECT_EQ(r.Rounds, 1);
  EXPECT_EQ(Questions(), (std::vector<std::string>{"攻撃側後退判定", "攻城戦続行"}));
  EXPECT_EQ(ui_.Log.back().Text, "吉田城攻防戦終了");
  EXPECT_EQ(g().Castles[1].Owner, 1);
}

TEST_F(Battle, ASiegeGoesOnForAtMostFourRounds) {
  // The computer besieges a castle of the human's; nobody is hurt, so only the chance draw
  // or the limit ends it.
  int atLimit = 0;
  for (std::uint32_t seed = 1; seed <= 40; ++seed) {
    SetUp();
    test::FillCrt(g(), [](int, int) { return 0; });
    SeaRingedCastle(4, 2);
    g().Castles[1].Owner = 0;
    g().H(5, 5).Terrain = 8;
    PlaceUnit(g(), 71, 1, 4, 5, kSteady);
    PlaceUnit(g(), 1, 0, 5, 5, kSteady);
    Mark(g(), 71, 5, 5);
    g().FullAttack = 0;
    g().Rng.SetSeed(seed);
    const BattleResult r = Fight();
    EXPECT_GE(r.Rounds, 1);
    EXPECT_LE(r.Rounds, 4);
    atLimit += r.Rounds == 4 ? 1 : 0;
    EXPECT_EQ(Texts().back(), "吉田城攻防戦終了") << seed;
    EXPECT_EQ(Count("吉田城攻防戦終了"), 1) << seed;
    EXPECT_TRUE(Questions().empty());  // no siege question for the computer, no path to ask about
  }
  EXPECT_GT(atLimit, 0);
  EXPECT_LT(atLimit, 40);  // the two draws of 7 end some sieges early
}

TEST_F(Battle, TheComputerAttackerFallsBackOnlyFromTurnSix) {
  for (const bool broken : {false, true}) {
  for (int turn : {5, 6}) {
    SetUp();
    // Heavy losses (2 of 4 steps), or light ones (2 of 8) for a broken side.
    test::FillCrt(g(), [](int, int) { return 2; });
    PlaceUnit(g(), 71, 1, 6, 5, {.Steps = 4, .CombatPower = 10, .Morale = 7});
    if (broken) {
      PlaceUnit(g(), 72, 1, 6, 5, {.Steps = 3, .CombatPower = 10, .Morale = 7});
      PlaceUnit(g(), 73, 1, 6, 5, {.Steps = 1, .CombatPower = 10, .Morale = 7});
      g().U(71).Steps = 2;
      for (int slot : {71, 72, 73}) {
        g().U(slot).Normal = 0;
        Mark(g(), slot, 5, 5);
      }
      g().U(72).Steps = 3;
    }
    PlaceUnit(g(), 1, 0, 5, 5, kSteady);
    Mark(g(), 71, 5, 5);
    g().Turn = turn;
    g().FullAttack = 0;
    ui_.Answers = {0};
    const BattleResult r = Fight();
    const Unit& u = g().U(broken ? 72 : 71);
    const std::string name = broken ? "ソルカ軍 武将72" : "ソルカ軍 武将71";
    const int loss = broken ? 1 : 2;  // a third of 2 hits by steps: round(3/6 x 2)
    if (turn == 5) {
      EXPECT_FALSE(r.AttackerRetreated) << broken;
      EXPECT_EQ(Count(name + "に" + std::to_string(loss) + "のダメージ"), 1) << broken;
      EXPECT_EQ(u.HexX, 6);
    } else {
      EXPECT_TRUE(r.AttackerRetreated) << broken;
      EXPECT_EQ(Count(name + "が後退し" + std::to_string(loss / 2) + "のダメージ"), 1) << broken;
      EXPECT_EQ(HexDistance(u.HexX, u.HexY, 6, 5), 2) << broken;
    }
    EXPECT_EQ(Questions(), std::vector<std::string>{"後退判定"});  // the human defender is asked
  }
  }
}

TEST_F(Battle, ARetreatingAttackerLosesHalfAndItsCorpsGoesWithIt) {
  // 3 hits: alone the general loses 3, halved to 1; with a subordinate of 1 step beside his 3,
  // he loses round(3/4 x 3) = 2, halved to 1, and the subordinate 1, halved to 0.
  for (const bool corps : {false, true}) {
    SetUp();
    test::FillCrt(g(), [](int, int) { return 3; });
    PlaceUnit(g(), 1, 0, 4, 5, {.Steps = corps ? 3 : 10, .CombatPower = 10, .Morale = 7});
    PlaceUnit(g(), 71, 1, 5, 5, {.Steps = 30, .CombatPower = 10, .Morale = 7});
    Mark(g(), 1, 5, 5);
    if (corps) {
      PlaceUnit(g(), 2, 0, 4, 5, {.Steps = 1, .CombatPower = 1, .Morale = 7});
      test::Attach(g(), 1, 2);
      Mark(g(), 2, 5, 5);
    }
    g().FullAttack = 0;
    ui_.Answers = {1, 0};
    const BattleResult r = Fight();
    EXPECT_TRUE(r.AttackerRetreated);
    EXPECT_EQ(QuestionText("攻撃側後退判定"), "3ステップの損害 後退しますか？");
    EXPECT_EQ(Count(std::string("ヴァルネ軍 武将1に") + (corps ? "2" : "3") + "のダメージ"), 1);  // announced
    EXPECT_EQ(Count("ヴァルネ軍 武将1に1のダメージ"), 1);                                        // taken
    EXPECT_EQ(g().U(1).Steps, corps ? 2 : 9);
    EXPECT_EQ(HexDistance(g().U(1).HexX, g().U(1).HexY, 4, 5), 2);
    EXPECT_FALSE(ui_.RetreatArrows.empty());
    if (corps) {
      EXPECT_EQ(g().U(2).Steps, 1);
      EXPECT_EQ(g().U(2).HexX, g().U(1).HexX);
      EXPECT_EQ(g().U(2).HexY, g().U(1).HexY);
    }
  }
}

TEST_F(Battle, DefendersThatRetreatTakeHalfWithoutConfusionAndTheWinnerFollows) {
  test::FillCrt(g(), [](int c, int) { return c >= 4 ? 5 : 0; });
  PlaceUnit(g(), 1, 0, 4, 5, kSteady);
  PlaceUnit(g(), 71, 1, 5, 5, {.Steps = 10, .CombatPower = 1, .Morale = 1});
  Mark(g(), 1, 5, 5);
  g().PlayerSide = 1;  // the human defends: he answers the question
  g().ComputerSide = 0;
  g().FullAttack = 0;
  ui_.Answers = {1};
  const BattleResult r = Fight();
  EXPECT_TRUE(r.DefenderRetreated);
  EXPECT_EQ(Questions(), std::vector<std::string>{"後退判定"});
  EXPECT_EQ(QuestionText("後退判定"), "5ステップの損害 後退しますか？");
  EXPECT_EQ(Count("ソルカ軍 武将71が2ポイントのダメージを受けました"), 1);  // 5 halved to even
  EXPECT_EQ(g().U(71).Normal, 1);
  EXPECT_EQ(HexDistance(g().U(71).HexX, g().U(71).HexY, 5, 5), 2);
  // The attacker follows onto the first hex of the defenders' way back.
  EXPECT_EQ(r.AdvancedUnit, 1);
  EXPECT_EQ(HexDistance(g().U(1).HexX, g().U(1).HexY, 5, 5), 1);
  EXPECT_EQ(HexDistance(g().U(1).HexX, g().U(1).HexY, g().U(71).HexX, g().U(71).HexY), 1);
}

TEST_F(Battle, TheRetreatSearchKeepsClearOfTheEnemyAndOfTheOldHex) {
  // From (5, 5): neighbours next to the enemy on (3, 5)... and a mountain are not taken.
  PlaceUnit(g(), 1, 0, 3, 5, kSteady);
  g().H(6, 5).Terrain = 7;
  for (std::uint32_t seed = 1; seed <= 30; ++seed) {
    ui_ = ScriptedUi{};
    g().Rng.SetSeed(seed);
    const RetreatPath p = FindRetreat(g(), ui_, 5, 5, 1);
    ASSERT_TRUE(p.Found);
    EXPECT_EQ(HexDistance(p.First.X, p.First.Y, 5, 5), 1);
    EXPECT_GT(HexDistance(p.First.X, p.First.Y, 3, 5), 1);
    EXPECT_FALSE(p.First == (HexPos{6, 5}));
    EXPECT_EQ(HexDistance(p.Final.X, p.Final.Y, p.First.X, p.First.Y), 1);
    EXPECT_EQ(HexDistance(p.Final.X, p.Final.Y, 5, 5), 2);
    EXPECT_EQ(ui_.RetreatArrows.size(), 4u);  // six, less the sea and (4, 5) next to the enemy
  }
  // Boxed in: no path, and no draw made.
  for (int d = 1; d <= 6; ++d) {
    const HexPos n = Neighbour(5, 5, d);
    g().H(n.X, n.Y).Terrain = 7;
  }
  g().Rng.SetSeed(5);
  EXPECT_FALSE(FindRetreat(g(), ui_, 5, 5, 1).Found);
  EXPECT_EQ(g().Rng.Seed(), 5u);
}

TEST_F(Battle, ASideIsBrokenOnlyWhenNothingIsInOrderAndEveryUnitIsWeak) {
  PlaceUnit(g(), 1, 0, 4, 5, {.Steps = 3});
  PlaceUnit(g(), 2, 0, 4, 5, {.Steps = 2});
  UnitList list;
  list.Count = 2;
  list.Slots[0] = 1;
  list.Slots[1] = 2;
  EXPECT_FALSE(SideBroken(g(), list));
  g().U(1).Normal = 0;
  EXPECT_FALSE(SideBroken(g(), list));
  g().U(2).Normal = 0;
  EXPECT_TRUE(SideBroken(g(), list));
  g().U(2).Steps = 4;
  EXPECT_FALSE(SideBroken(g(), list));
  EXPECT_FALSE(SideBroken(g(), UnitList{}));
}

TEST_F(Battle, EncirclementCountsEnemyStacksShutInOnEverySide) {
  PlaceUnit(g(), 1, 0, 5, 5);  // the enemy of side 1
  const HexPos h = Neighbour(5, 5, 5);
  EXPECT_EQ(EncirclementValue(g(), h.X, h.Y, 1), 0);
  int slot = 71;
  for (int d = 1; d <= 4; ++d) {
    const HexPos n = Neighbour(5, 5, d);
    PlaceUnit(g(), slot++, 1, n.X, n.Y);
  }
  EXPECT_EQ(EncirclementValue(g(), h.X, h.Y, 1), 0);  // direction 6 is still open
  const HexPos gap = Neighbour(5, 5, 6);
  g().H(gap.X, gap.Y).Terrain = 3;  // a mountain closes it
  EXPECT_EQ(EncirclementValue(g(), h.X, h.Y, 1), kEnclosedStackValue);
  EXPECT_EQ(EncirclementValue(g(), h.X, h.Y, 0), 0);  // side 0 has no enemy there
  // At the map's corner the edge closes the sides off the map.
  PlaceUnit(g(), 2, 0, 0, 0);
  PlaceUnit(g(), 80, 1, 1, 0);
  EXPECT_EQ(EncirclementValue(g(), 0, 1, 1), kEnclosedStackValue);
  // Two shut-in stacks next to the same hex count twice.
  EXPECT_EQ(TopUnitsAtHex(g(), 5, 5).Count, 1);
}

TEST_F(Battle, TheTrialRetreatLeavesTheGameExactlyAsItWas) {
  ASSERT_TRUE(NewGame(g(), ui_, std::string(MILGANT_DATA_DIR) + "/Map.dat"));
  int tried = 0;
  for (int slot = 71; slot < kUnitSlots && tried < 12; ++slot) {
    const Unit& u = g().U(slot);
    if (u.OnMap != 1 || u.CommanderIndex != -1) continue;
    const UnitList stack = UnitsAt(g(), u.HexX, u.HexY);
    for (int d = 1; d <= 6; ++d) {
      const HexPos to = Neighbour(u.HexX, u.HexY, d);
      if (!OnMapHex(to.X, to.Y)) continue;
      Snapshot(g());
      const auto image = g().SaveImage;
      const auto supply = g().SupplyRemaining;
      const auto remaining = g().MoveRemaining;
      const auto seed = g().Rng.Seed();
      const int phase = g().PhaseSide;
      TrialRetreatImproves(g(), stack, to);
      Snapshot(g());
      ASSERT_TRUE(g().SaveImage == image) << slot;
      ASSERT_TRUE(g().SupplyRemaining == supply);
      ASSERT_TRUE(g().MoveRemaining == remaining);
      ASSERT_EQ(g().Rng.Seed(), seed);
      ASSERT_EQ(g().PhaseSide, phase);
      ++tried;
    }
  }
  EXPECT_GT(tried, 6);
}

TEST_F(Battle, ATrialRetreatThatReopensTheSupplyRoadIsAnImprovement) {
  // Side 1's road runs west from its source; an enemy next to it cuts it, unless one of side
  // 1's units stands on the hex the enemy watches.
  test::LayRoad(g(), 19, 15, "5555555");
  PlaceUnit(g(), 1, 0, 15, 14);
  PlaceUnit(g(), 71, 1, 10, 10);
  UnitList stack = UnitsAt(g(), 10, 10);
  const int before = ComputerPositionValue(g());
  EXPECT_TRUE(TrialRetreatImproves(g(), stack, {15, 15}));
  EXPECT_FALSE(TrialRetreatImproves(g(), stack, {10, 12}));
  EXPECT_EQ(ComputerPositionValue(g()), before);
}

class Reinforcements : public Battle {
 protected:
  void SetUp() override {
    Battle::SetUp();
    test::FillCrt(g(), [](int, int) { return 0; });
    PlaceUnit(g(), 1, 0, 4, 5, kSteady);   // the human's attacker
    PlaceUnit(g(), 71, 1, 5, 5, kSteady);  // the computer's defender
    Mark(g(), 1, 5, 5);
  }
  BattleState Sides() { return GatherSides(g(), 5, 5); }
};

TEST_F(Reinforcements, CandidatesMustBeFreeNearAndAbleToGetThere) {
  struct Case {
    const char* what;
    std::function<void(Game&)> change;
    bool attacker;  // an attacker-side candidate of side 0 (else a defender-side one of side 1)
    bool qualifies;
  };
  const std::vector<Case> cases = {
      {"fresh and near", [](Game&) {}, true, true},
      {"has acted this turn", [](Game& g) { g.U(2).ActionPoints -= 1; }, true, false},
      {"marked elsewhere", [](Game& g) { Mark(g, 2, 9, 9); }, true, false},
      {"four hexes off", [](Game& g) { g.U(2).HexX = 1; }, true, false},
      {"in a corps", [](Game& g) { test::Attach(g, 3, 2); g.U(2).HexX = 3; }, true, false},
      {"no points to get there", [](Game& g) { g.U(2).ActionPoints = g.U(2).TurnActionPoints = 0; }, true, false},
      {"standing by two hexes off", [](Game& g) { g.U(72).ReinforcementWait = 2; }, false, true},
      {"not standing by", [](Game& g) { g.U(72).ReinforcementWait = 0; }, false, false},
      {"standing by too near to reach", [](Game& g) { g.U(72).ReinforcementWait = 1; }, false, false},
      {"already on the battle hex", [](Game& g) { g.U(72).ReinforcementWait = 5; g.U(72).HexX = 5; }, false, false},
  };
  for (const Case& c : cases) {
    SetUp();
    PlaceUnit(g(), 2, 0, 3, 5, {.ActionPoints = 8});
    g().U(2).TurnActionPoints = 8;
    PlaceUnit(g(), 3, 0, 3, 4);
    PlaceUnit(g(), 72, 1, 7, 5, {.ActionPoints = 8});
    c.change(g());
    const UnitList list = c.attacker ? AttackerCandidates(g(), 5, 5, 0, {4, 5}) : DefenderCandidates(g(), 5, 5, 1);
    const int slot = c.attacker ? 2 : 72;
    bool found = false;
    for (int i = 0; i < list.Count; ++i) found = found || list.Slots[static_cast<std::size_t>(i)] == slot;
    EXPECT_EQ(found, c.qualifies) << c.what;
    if (c.qualifies) {
      EXPECT_GE(g().U(slot).ArrivalActionPoints, 0) << c.what;
    }
    EXPECT_EQ(g().MovePath[3][5].Length, 0) << "range tables left clear: " << c.what;
  }
}

TEST_F(Reinforcements, TheComputerBringsOnlyAUnitThatRaisesItsOdds) {
  // The computer attacks here.
  g().U(1).TargetX = g().U(1).TargetY = -1;
  g().U(71).HexX = 6;
  Mark(g(), 71, 5, 5);
  g().U(1).HexX = 5;
  PlaceUnit(g(), 72, 1, 7, 5, {.Steps = 10, .CombatPower = 0, .ActionPoints = 8});
  g().U(72).TurnActionPoints = 8;
  ReinforcementStep(g(), ui_, Sides());
  EXPECT_TRUE(Texts().empty());
  EXPECT_EQ(g().U(72).TargetX, -1);
  EXPECT_EQ(g().U(72).HexX, 7);
  g().U(72).CombatPower = 10;
  const double before = AttackOdds(g(), 5, 5, 0);
  ReinforcementStep(g(), ui_, Sides());
  EXPECT_EQ(Texts(), std::vector<std::string>{"武将72指揮下の軍勢が\r援軍として到着しました"});
  EXPECT_EQ(g().U(72).TargetX, 5);
  EXPECT_EQ(g().U(72).HexX, 6);
  EXPECT_EQ(g().U(72).ActionPoints, g().U(72).ArrivalActionPoints);
  EXPECT_GT(AttackOdds(g(), 5, 5, 0), before);
}

TEST_F(Reinforcements, TheHumanPicksARowOrRefuses) {
  for (int answer : {-1, 0, 1}) {
    SetUp();
    for (int slot : {2, 3}) {
      PlaceUnit(g(), slot, 0, 3, 5 + slot - 2, {.ActionPoints = 8});
      g().U(slot).TurnActionPoints = 8;
    }
    PlaceUnit(g(), 4, 0, 3, 7);
    test::Attach(g(), 3, 4);
    ui_.Answers = {answer};
    ReinforcementStep(g(), ui_, Sides());
    ASSERT_EQ(ui_.Log.size(), answer == -1 ? 1u : 2u);
    EXPECT_EQ(ui_.Log[0].Kind, "reinforcement");
    EXPECT_EQ(ui_.Log[0].Caption, "attacker");
    EXPECT_EQ(ui_.Log[0].Text, "2,3");
    EXPECT_EQ(ui_.Log[0].Answer, answer);
    for (int slot : {2, 3, 4}) {
      const bool joined = (answer == 0 && slot == 2) || (answer == 1 && slot >= 3);
      EXPECT_EQ(g().U(slot).TargetX, joined ? 5 : -1) << answer << " " << slot;
      EXPECT_EQ(g().U(slot).HexX, joined ? 4 : 3) << answer << " " << slot;
    }
  }
}

TEST_F(Reinforcements, ASixRoundBattleHasFiveReinforcementSteps) {
  test::FillCrt(g(), [](int, int) { return 1; });
  g().FullAttack = 1;
  // A fresh reserve beside the attacker each time: the human takes one after every round.
  for (int slot = 2; slot <= 8; ++slot) {
    PlaceUnit(g(), slot, 0, 3, 5, {.Steps = 10, .CombatPower = 0, .ActionPoints = 8, .Morale = 7});
    g().U(slot).TurnActionPoints = 8;
  }
  ui_.Answers = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  const BattleResult r = Fight();
  EXPECT_EQ(r.Rounds, 6);
  int choices = 0;
  for (const auto& e : ui_.Log) choices += e.Kind == "reinforcement" ? 1 : 0;
  EXPECT_EQ(choices, 5);
  EXPECT_EQ(Count("武将2指揮下の軍勢が\r援軍として到着しました"), 1);
  EXPECT_EQ(g().U(8).HexX, 3);  // the last reserve was never called
}

TEST(OpeningBattles, ANewGameAgainstSideZeroFightsTheMarkedAttacksFirst) {
  auto g = test::BattleField();
  g->GameState = 0;
  g->Turn = 0;
  test::FillCrt(*g, [](int, int) { return 1; });
  PlaceUnit(*g, 1, 0, 4, 5, kSteady);
  PlaceUnit(*g, 71, 1, 5, 5, kSteady);
  PlaceUnit(*g, 72, 1, 9, 9, kSteady);
  Mark(*g, 1, 5, 5);
  ScriptedUi ui;
  ui.Answers = {0};
  StartFirstTurn(*g, ui);
  const auto t = ui.TextsOf("battle");
  ASSERT_FALSE(t.empty());
  EXPECT_EQ(t.front(), "ヴァルネ方野戦第1ラウンド");
  // At odds of 1 the attack is an engagement, and equal results escalate it.
  EXPECT_EQ(t[1], "合戦がエスカレートしました。6ラウンドまで延長します。");
  EXPECT_EQ(std::count(t.begin(), t.end(), "ヴァルネ方野戦第6ラウンド"), 1);
  EXPECT_GE(ui.BattleCloses, 1);
  EXPECT_EQ(g->U(1).TargetX, -1);
  EXPECT_EQ(g->GameState, 2);
  EXPECT_EQ(test::BrokenInvariants(*g), "");
}

}  // namespace
}  // namespace milgant
