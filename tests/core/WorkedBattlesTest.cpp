// Battles worked out by hand, to the last number: every strength with its factors, the table
// columns, the dice, the hits and the return fire, how the hits are spread, the halving in a
// retreat, the escalation test at odds of exactly 3, and a garrison's strength after damage.
// The table of these tests is "hits = column + die - 1", so each column can be read off the hits.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "BattleTestSupport.h"
#include "core/combat/Battle.h"
#include "core/game/Scenario.h"

namespace milgant {
namespace {

using test::Mark;
using test::PlaceUnit;

struct Left {
  int Slot, Steps, CombatPower;
};

struct WorkedBattle {
  const char* What;
  std::function<void(Game&)> SetUp;
  int DefenderDie, AttackerDie;  // drawn in this order
  std::vector<int> Answers;
  std::vector<Left> Units;                   // steps and combat power after the battle
  std::vector<std::string> Said;             // each said as often as it is listed
  std::vector<std::string> NotSaid;
  std::vector<std::string> Questions;        // captions, in order
  int Durability = -1, Strength = -1;        // of castle 1 afterwards, when there is one
  // What the chronicle is told (attacker, defender): steps lost, hits dealt, the hits the table
  // gives on average for the round's strengths (hundredths; mean over all 36 pairs of dice).
  std::array<int, 2> Lost{}, Dealt{}, Expected100{};
  int Outcome = 0;
};

void Crt(Game& g) { test::FillCrt(g, [](int c, int d) { return c + d - 1; }); }

// The computer (side 0) attacks (5, 5), the human holds it with side 1.
void ComputerAttacks(Game& g) {
  Crt(g);
  g.PlayerSide = 1;
  g.ComputerSide = 0;
}

const std::vector<WorkedBattle>& Battles() {
  static const std::vector<WorkedBattle> battles = {
      // Attackers: 1 from the west (6 steps, power 9, modifier 3) and 2 from the north-west (4
      // steps, power 7 confused: 3.5 -> 4, modifier 1); sum 13. Unit 1 attacks across a river,
      // unit 2 does not: no river factor. The east stays open for a retreat.
      // Defender 71 on plain ground of value 20, fortified, power 4, modifier 2:
      //   round((1.2 + 1 + 1 - 2) x 4) = round(4.8) = 5, x 1.2 = 6.
      // Command: (3 - 2 + 10) / 10 = 1.1: attacker round(14.3) = 14, defender round(6.6) = 7.
      // Attacker's die 3, column 5 (11-15): 5 + 3 - 1 = 7 hits on the defender.
      // Return fire: round((10 - 7) / 10 x 7) = round(2.1) = 2, column 1; die 4: 1 + 4 - 1 = 4.
      // Spread over 10 attacking steps: unit 1 round(6/10 x 4) = round(2.4) = 2, unit 2 the rest 2.
      //   Unit 1: 4 steps, power round(4/6 x 9) = 6; unit 2: 2 steps, round(2/4 x 7) = round(3.5) = 4.
      // The human defender retreats: 7 hits halved, round(3.5) = 4; 6 steps left, power
      //   round(6/10 x 4) = round(2.4) = 2.
      {"a single battle in the field with a retreating defender",
       [](Game& g) {
         ComputerAttacks(g);
         g.TerrainTypes[1].DefenceBonus = 20;
         PlaceUnit(g, 1, 0, 4, 5, {.Steps = 6, .CombatPower = 9, .Morale = 7});
         PlaceUnit(g, 2, 0, 5, 4, {.Steps = 4, .CombatPower = 7, .Morale = 7});
         PlaceUnit(g, 71, 1, 5, 5, {.Steps = 10, .CombatPower = 4, .Morale = 7});
         g.U(1).CombatModifier = 3;
         g.U(2).CombatModifier = 1;
         g.U(2).Normal = 0;
         g.U(71).CombatModifier = 2;
         g.U(71).Fortified = 1;
         test::MarkRiver(g, 4, 5, 2);
         Mark(g, 1, 5, 5);
         Mark(g, 2, 5, 5);
         g.FullAttack = 0;
       },
       4, 3, {1},
       {{1, 4, 6}, {2, 2, 4}, {71, 6, 2}},
       {"ヴァルネ軍 武将1に2のダメージ", "ヴァルネ軍 武将2に2のダメージ", "ソルカ軍 武将71が4ポイントのダメージを受けました",
        "戦闘終了"},
       {"合戦がエスカレートしました。6ラウンドまで延長します。"},
       {"後退判定"},
       -1, -1,
       // Expected: on the defender column 5 + die - 1, on average 7.5. Return fire by the
       // attacker's die 1..6 (5..10 hits on 10 steps, strength 7): round(3.5) = 4 and round(2.8) =
       // 3 (column 2), 2 (column 1), 1, 1, 0 (column 0); column + 2.5 on average:
       // (4.5 + 4.5 + 3.5 + 2.5 + 2.5 + 2.5) / 6 = 3.33.
       {4, 4}, {7, 4}, {750, 333}, 1},
      // Attacker 1: power 9, 9 steps; defender 71: power 3, 3 steps. Odds 9 / 3 = 3, not above 3.
      // Attacker's die 1, column 4 (7-10): 4 hits. Return fire round((3 - 4) / 3 x 3) = -1, column
      // 0; die 5: 4 hits. The two results are equal: the engagement escalates and nobody may
      // retreat, so the human defender is not asked. Attacker 9 - 4 = 5 steps, power
      // round(5/9 x 9) = 5; the defender, 3 - 4, is wiped out.
      {"an engagement at odds of exactly 3 with equal results escalates",
       [](Game& g) {
         ComputerAttacks(g);
         PlaceUnit(g, 1, 0, 4, 5, {.Steps = 9, .CombatPower = 9, .Morale = 7});
         PlaceUnit(g, 71, 1, 5, 5, {.Steps = 3, .CombatPower = 3, .Morale = 7});
         Mark(g, 1, 5, 5);
         g.FullAttack = 1;
       },
       5, 1, {0},
       {{1, 5, 5}},
       {"合戦がエスカレートしました。6ラウンドまで延長します。", "双方後退はできません",
        "ヴァルネ軍 武将1に4のダメージ", "ソルカ軍 武将71が4ポイントのダメージを受けました", "ソルカ軍 武将71が全滅しました"},
       {},
       {},
       -1, -1,
       // Column 4: 3 + die, 6.5 on average; the return fire is column 0 whatever the die: 2.5.
       // The defender loses the 3 steps it had, not the 4 hits.
       {4, 3}, {4, 4}, {650, 250}, 1},
      // The same at odds 12 / 3 = 4: column 5 (11-15), die 1: 5 hits; return fire
      // round((3 - 5) / 3 x 3) = -2, column 0, die 6: 5 hits. Equal, but the odds are above 3: no
      // escalation, so the human defender is asked and holds (the second button). Attacker
      // 12 - 5 = 7 steps, power round(7/12 x 12) = 7.
      {"the same engagement at odds of 4 does not escalate",
       [](Game& g) {
         ComputerAttacks(g);
         PlaceUnit(g, 1, 0, 4, 5, {.Steps = 12, .CombatPower = 12, .Morale = 7});
         PlaceUnit(g, 71, 1, 5, 5, {.Steps = 3, .CombatPower = 3, .Morale = 7});
         Mark(g, 1, 5, 5);
         g.FullAttack = 1;
       },
       6, 1, {0},
       {{1, 7, 7}},
       {"ヴァルネ軍 武将1に5のダメージ", "ソルカ軍 武将71が5ポイントのダメージを受けました", "ソルカ軍 武将71が全滅しました"},
       {"合戦がエスカレートしました。6ラウンドまで延長します。"},
       {"後退判定"},
       -1, -1,
       {5, 3}, {5, 5}, {750, 250}, 1},
      // The human (side 0) besieges 吉田城 on (5, 5): durability 10, strength 5, held by 71 (20
      // steps, power 6) with no way out (sea all round). A castle ignores its terrain: the
      // defender is 6 + the garrison's 5 = 11 strong with 20 + 10 = 30 steps; the attacker 10.
      // Attacker's die 6, column 4 (7-10): 9 hits. Return fire round((30 - 9) / 30 x 11) =
      // round(7.7) = 8, column 4; die 1: 4 hits, announced, not retreated from (second button), taken:
      // attacker 6 steps, power 6. In a siege the last defender takes only its share,
      // round(20/30 x 9) = 6: 14 steps, power round(14/20 x 6) = round(4.2) = 4; the garrison the
      // rest, 3: durability 7, strength round(7/10 x 5) = round(3.5) = 4.
      {"a siege: the garrison takes the rest and loses strength",
       [](Game& g) {
         Crt(g);
         for (int d = 1; d <= 6; ++d) {
           const HexPos n = Neighbour(5, 5, d);
           if (!(n == HexPos{4, 5})) g.H(n.X, n.Y).Terrain = 7;
         }
         g.H(5, 5).Terrain = 9;
         AddCastle(g, 1, "吉田城", 5, 5, 1, 10, 5, 40, {999, 999, 999, 999, 999});
         PlaceUnit(g, 1, 0, 4, 5, {.Steps = 10, .CombatPower = 10, .Morale = 7});
         PlaceUnit(g, 71, 1, 5, 5, {.Steps = 20, .CombatPower = 6, .Morale = 7});
         Mark(g, 1, 5, 5);
         g.FullAttack = 0;
       },
       1, 6, {0, 0},
       {{1, 6, 6}, {71, 14, 4}},
       {"ヴァルネ軍 武将1に4のダメージ", "ヴァルネ軍 武将1に4のダメージ", "ソルカ軍 武将71が6ポイントのダメージを受けました",
        "吉田城が3ポイントのダメージを受けました", "吉田城攻防戦終了"},
       {"吉田城は落城しました。"},
       {"攻撃側後退判定"},
       7, 4,
       // Column 4: 6.5 on average. Return fire for 4..9 hits on 30 steps of strength 11 is
       // round(9.5) = 10, 9, 9, 8, 8, 8: column 4 every time, 6.5. Nobody won ground.
       {4, 6}, {9, 4}, {650, 650}, 0},
  };
  return battles;
}

TEST(WorkedBattles, EveryNumberAsWorkedOutByHand) {
  for (const WorkedBattle& b : Battles()) {
    auto g = test::BattleField();
    b.SetUp(*g);
    g->Rng.SetSeed(test::SeedFor({{6, b.DefenderDie - 1}, {6, b.AttackerDie - 1}}));
    ScriptedUi ui;
    ui.Answers = {b.Answers.begin(), b.Answers.end()};
    FightBattle(*g, ui, 5, 5);
    EXPECT_EQ(test::BrokenInvariants(*g), "") << b.What;

    for (const Left& l : b.Units) {
      EXPECT_EQ(g->U(l.Slot).Steps, l.Steps) << b.What << ": steps of " << l.Slot;
      EXPECT_EQ(g->U(l.Slot).CombatPower, l.CombatPower) << b.What << ": power of " << l.Slot;
    }
    const std::vector<std::string> said = ui.TextsOf("battle");
    for (const std::string& s : b.Said) {
      EXPECT_EQ(std::count(said.begin(), said.end(), s), std::count(b.Said.begin(), b.Said.end(), s)) << b.What << ": " << s;
    }
    for (const std::string& s : b.NotSaid) EXPECT_EQ(std::count(said.begin(), said.end(), s), 0) << b.What << ": " << s;
    std::vector<std::string> asked;
    for (const auto& e : ui.Log) {
      if ((e.Kind == "question" || e.Kind == "choice") && e.Caption != "攻城戦続行") asked.push_back(e.Caption);
    }
    EXPECT_EQ(asked, b.Questions) << b.What;
    if (b.Durability >= 0) {
      EXPECT_EQ(g->Castles[1].Durability, b.Durability) << b.What;
      EXPECT_EQ(g->Castles[1].Strength, b.Strength) << b.What;
    }
    const auto battle = std::find_if(ui.Events.begin(), ui.Events.end(), [](const Event& e) { return e.Kind == EventKind::Battle; });
    ASSERT_NE(battle, ui.Events.end()) << b.What;
    EXPECT_EQ(battle->Fight.StepsLost, b.Lost) << b.What;
    EXPECT_EQ(battle->Fight.HitsDealt, b.Dealt) << b.What;
    EXPECT_EQ(battle->Fight.HitsExpected100, b.Expected100) << b.What;
    EXPECT_EQ(battle->Fight.Outcome, b.Outcome) << b.What;
    EXPECT_EQ(battle->Fight.Rounds, 1) << b.What;
  }
}

}  // namespace
}  // namespace milgant
