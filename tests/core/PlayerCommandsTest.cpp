// The player's commands played as input scripts: whole human turns for either side, and the
// refusals and edge cases of replenishment, organisation, attacks, recovery, field works and
// standby, each a row of a table.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "AsciiMap.h"
#include "ai/ForceRatio.h"
#include "game/Game.h"
#include "game/ScriptedUi.h"
#include "game/Text.h"
#include "turn/ScriptPlay.h"

namespace milgant {
namespace {

// Slots of the field: side 0 holds slots 1..70, side 1 slots 71..140.
struct Slots {
  int Leader, Taisho, General, Loner, Other, Enemy, EnemySub;
};
Slots SlotsFor(int side) {
  const int own = side == 0 ? 0 : 70, enemy = side == 0 ? 70 : 0;
  // 総大将 (Command 2) with a 大将 and a 武将, an independent 武将 beside them, another 大将,
  // and the computer's general with his subordinate.
  return {own + 1, own + 2, own + 3, own + 4, own + 5, enemy + 20, enemy + 21};
}

// A plain field, the human playing `side` at turn 3 in phase `phase`: the leader's corps and a
// loner on (5,5), another general on (3,5), the enemy corps on (8,5).
std::unique_ptr<Game> Field(int side, int phase) {
  auto g = test::FreshGame();
  test::DrawMap(*g, "");
  g->PlayerSide = side;
  g->ComputerSide = 1 - side;
  g->PhaseSide = side;
  g->Turn = 3;
  g->GameState = phase;
  SetUnitButtonsForPhase(*g, phase);
  const int enemy = 1 - side;
  const Slots s = SlotsFor(side);
  test::PlaceUnit(*g, s.Leader, side, 5, 5, {.Steps = 10, .CombatPower = 20, .Rank = 2, .Morale = 6, .Command = 2});
  test::PlaceUnit(*g, s.Taisho, side, 5, 5, {.Rank = 1, .Command = 1});
  test::PlaceUnit(*g, s.General, side, 5, 5, {.Rank = 0});
  test::Attach(*g, s.Leader, s.Taisho);
  test::Attach(*g, s.Leader, s.General);
  test::PlaceUnit(*g, s.Loner, side, 5, 5, {.Rank = 0});
  test::PlaceUnit(*g, s.Other, side, 3, 5, {.Rank = 1});
  test::PlaceUnit(*g, s.Enemy, enemy, 8, 5, {.Steps = 4, .CombatPower = 2, .Rank = 1});
  test::PlaceUnit(*g, s.EnemySub, enemy, 8, 5, {.Steps = 4, .CombatPower = 2});
  test::Attach(*g, s.Enemy, s.EnemySub);
  for (int slot : {s.Leader, s.Taisho, s.General, s.Loner, s.Other}) g->U(slot).OwnActionPoints = 6;
  g->ReplenishmentPoints[static_cast<std::size_t>(side)] = 10;
  return g;
}

std::vector<std::string> Notes(const ScriptedUi& ui) {
  std::vector<std::string> out;
  for (const auto& e : ui.Log) {
    if (e.Kind == "note") out.push_back(e.Caption + "|" + e.Text);
  }
  return out;
}

int CountKind(const ScriptedUi& ui, std::string_view kind) {
  int n = 0;
  for (const auto& e : ui.Log) n += e.Kind == kind ? 1 : 0;
  return n;
}

// One step of a scripted turn: its lines, then what must hold.
struct Step {
  const char* Lines;
  std::function<void(const Game&, const ScriptedUi&)> Check;
};

class WholeTurn : public ::testing::TestWithParam<int> {};

TEST_P(WholeTurn, ReplenishOrganiseActAndEndTheTurn) {
  const int side = GetParam();
  auto g = Field(side, 2);
  const Slots s = SlotsFor(side);
  g->U(s.Leader).Steps = 6;
  g->U(s.Leader).CombatPower = 12;
  g->U(s.Other).Normal = 0;
  g->U(s.Other).Morale = 6;  // recovery cannot fail
  ScriptedUi ui;
  ui.Closing = true;  // the computer's side stands still; this is the human's turn
  int apBeforeAttack = 0, closesBefore = 0;
  const std::vector<Step> steps = {
      {"click 5 5\nbutton 補充\nanswer 1\nvalue 3\n",  // the corps' commander, not a subordinate
       [&](const Game& g, const ScriptedUi&) {
         EXPECT_EQ(g.U(s.Leader).Steps, 9);
         EXPECT_EQ(g.U(s.Leader).CombatPower, 18);
         EXPECT_EQ(g.ReplenishmentPoints[static_cast<std::size_t>(side)], 7);
       }},
      {"menu フェイズ終了\nclick 5 5\nsub 0\nbutton 独立\nrow 1\nbutton 編成\nrow 0\nbutton Cancel\n",
       [&](const Game& g, const ScriptedUi&) {
         EXPECT_EQ(g.GameState, 27);
         EXPECT_EQ(g.U(s.Taisho).CommanderIndex, -1);
         EXPECT_EQ(g.U(s.Taisho).ActionPoints, 6);  // his own points once alone
         EXPECT_EQ(g.U(s.Loner).CommanderIndex, s.Leader);
         EXPECT_EQ(g.U(s.Loner).ActionPoints, g.U(s.Leader).ActionPoints);
         EXPECT_EQ(g.U(s.Leader).SubordinateCount, 2);
       }},
      {"menu フェイズ終了\nclick 5 5\nrow 0\nbutton 移動\nclick 7 5\nclick 7 5\n",
       [&](const Game& g, const ScriptedUi&) {
         EXPECT_EQ(g.GameState, 7);
         EXPECT_EQ(g.SelectedUnit, s.Leader);
         for (int s : {s.Leader, s.General, s.Loner}) EXPECT_EQ(g.U(s).HexX, 7) << s;
         EXPECT_EQ(g.U(s.Taisho).HexX, 5);  // he left the corps and stays
         EXPECT_LT(g.U(s.Leader).ActionPoints, 8);
         apBeforeAttack = g.U(s.Leader).ActionPoints;
         closesBefore = ui.BattleCloses;
       }},
      {"click 7 5\nbutton 戦闘　合戦\nclick 8 5\nanswer 1\nanswer 0\n",
       [&](const Game& g, const ScriptedUi& u) {
         EXPECT_EQ(u.BattleShows, 1);
         EXPECT_EQ(u.BattleCloses, closesBefore + 1);
         EXPECT_EQ(g.U(s.Leader).ActionPoints, apBeforeAttack - (g.FullAttack ? 3 : 1));
         EXPECT_EQ(g.U(s.Leader).TargetX, -1);
         EXPECT_EQ(g.GameState, 7);
       }},
      {"click 7 5\nbutton 行動終了\n",
       [&](const Game& g, const ScriptedUi&) {
         EXPECT_EQ(g.GameState, 3);
         EXPECT_EQ(g.U(s.Leader).CanMove, 0);
         EXPECT_EQ(g.U(s.Loner).CanMove, 0);
       }},
      {"click 3 5\nbutton 回復\n",
       [&](const Game& g, const ScriptedUi& u) {
         EXPECT_EQ(g.U(s.Other).Normal, 1);
         EXPECT_EQ(g.U(s.Other).ActionPoints, 6);
         EXPECT_EQ(g.SelectedUnit, s.Other);
         // The note names the general whose troops came back to order.
         ASSERT_FALSE(Notes(u).empty());
         EXPECT_EQ(Notes(u).back().rfind("士気回復|", 0), 0u);
         EXPECT_NE(Notes(u).back().find(Cp932ToUtf8Lossy(g.U(s.Other).GeneralName.View())), std::string::npos);
       }},
      {"click 3 5\nbutton 野戦築城\nclick 3 5\nbutton 援軍待機\nvalue 2\n",
       [&](const Game& g, const ScriptedUi&) {
         EXPECT_EQ(g.U(s.Other).Fortified, 1);
         EXPECT_EQ(g.U(s.Other).ReinforcementWait, 2);
         EXPECT_EQ(g.U(s.Other).ActionPoints, 2);
         EXPECT_EQ(g.GameState, 7);
       }},
      {"click 3 5\nbutton 行動終了\nmenu フェイズ終了\n",
       [&](const Game& g, const ScriptedUi&) {
         EXPECT_EQ(g.GameState, 2);
         EXPECT_EQ(g.Turn, 4);
         EXPECT_EQ(g.U(s.Other).CanMove, 1);  // a new turn, new orders
       }},
  };
  for (std::size_t i = 0; i < steps.size(); ++i) {
    ASSERT_EQ(PlayScriptText(*g, ui, steps[i].Lines), "") << "step " << i;
    steps[i].Check(*g, ui);
    EXPECT_EQ(test::BrokenInvariants(*g), "") << "step " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(EitherSide, WholeTurn, ::testing::Values(0, 1));

}  // namespace
}  // namespace milgant
