// The player's commands played as input scripts: whole human turns for either side, and the
// refusals and edge cases of replenishment, organisation, attacks, recovery, field works and
// standby, each a row of a table.
#include <gtest/gtest.h>

#include <algorithm>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "AsciiMap.h"
#include "TestFiles.h"
#include "core/combat/ForceRatio.h"
#include "core/game/Chronicle.h"
#include "core/game/Game.h"
#include "core/game/InputScript.h"
#include "core/turn/ScriptedUi.h"
#include "core/game/SaveImage.h"
#include "core/game/Text.h"
#include "core/turn/ScriptPlay.h"

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

// The save image of a game, to tell whether a script left it untouched.
std::vector<std::uint8_t> Image(const Game& g) {
  auto copy = std::make_unique<Game>(g);
  Snapshot(*copy);
  std::vector<std::uint8_t> bytes(copy->SaveImage.begin(), copy->SaveImage.end());
  const std::uint32_t seed = g.Rng.Seed();
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(seed >> (8 * i)));
  return bytes;
}

// A command on the field: the set-up, the lines, and either what must hold afterwards or the
// error the script must stop with (then the game must be as it was).
struct Case {
  const char* Name;
  int Phase;
  std::function<void(Game&, const Slots&)> Setup;
  const char* Lines;
  std::function<void(const Game&, const ScriptedUi&, const Slots&)> Check;
  const char* Error = "";
};

void MoveEnemyNextTo(Game& g, const Slots& s, int x, int y) {
  for (int slot : {s.Enemy, s.EnemySub}) {
    g.U(slot).HexX = static_cast<std::uint8_t>(x);
    g.U(slot).HexY = static_cast<std::uint8_t>(y);
  }
}

const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = {
      {"replenishment refused out of supply", 2,
       [](Game& g, const Slots& s) {
         g.U(s.Leader).Steps = 6;
         g.U(s.Leader).Supplied = 0;
       },
       "click 5 5\nbutton 補充\nanswer 1\n",
       [](const Game& g, const ScriptedUi& ui, const Slots& s) {
         EXPECT_EQ(Notes(ui), std::vector<std::string>{"補充不可|このユニットは補給線が途絶しています"});
         EXPECT_EQ(g.U(s.Leader).Steps, 6);
         EXPECT_EQ(CountKind(ui, "allocate"), 0);
       }},
      {"replenishment silently refused next to an enemy", 2,
       [](Game& g, const Slots& s) {
         g.U(s.Leader).Steps = 6;
         MoveEnemyNextTo(g, s, 6, 5);
       },
       "click 5 5\nbutton 補充\nanswer 1\n",
       [](const Game& g, const ScriptedUi& ui, const Slots& s) {
         EXPECT_TRUE(Notes(ui).empty());
         EXPECT_EQ(g.U(s.Leader).Steps, 6);
         EXPECT_EQ(CountKind(ui, "allocate"), 0);
       }},
      {"movement type 2 pays double and its bar counts half steps", 2,
       [](Game& g, const Slots& s) {
         g.U(s.Loner).MovementType = 2;
         g.U(s.Loner).Steps = 4;
       },
       // An independent general is chosen without the question; bar 7 of 10 buys 3 steps.
       "click 5 5\nrow 1\nbutton 補充\nvalue 7\n",
       [](const Game& g, const ScriptedUi&, const Slots& s) {
         EXPECT_EQ(g.U(s.Loner).Steps, 7);
         EXPECT_EQ(g.U(s.Loner).CombatPower, 7);
         EXPECT_EQ(g.ReplenishmentPoints[static_cast<std::size_t>(g.PlayerSide)], 4);
       }},
      {"the bar of a movement-type-2 unit reaches twice the missing steps at most", 2,
       [](Game& g, const Slots& s) {
         g.U(s.Loner).MovementType = 2;
         g.U(s.Loner).Steps = 8;
       },
       "click 5 5\nrow 1\nbutton 補充\nvalue 5\n", nullptr, "line 4: value 5 is beyond the scroll bar"},
      {"a subordinate replenished through the question", 2,
       [](Game& g, const Slots& s) { g.U(s.General).Steps = 5; },
       "click 5 5\nsub 1\nbutton 補充\nanswer 0\nvalue 4\n",
       [](const Game& g, const ScriptedUi&, const Slots& s) {
         EXPECT_EQ(g.U(s.General).Steps, 9);
         EXPECT_EQ(g.U(s.Leader).Steps, 10);
         EXPECT_EQ(g.ReplenishmentPoints[static_cast<std::size_t>(g.PlayerSide)], 6);
       }},
      {"a commander with Command 2 takes a third subordinate and refuses a fourth", 27,
       [](Game& g, const Slots& s) { test::PlaceUnit(g, s.Other + 1, g.PlayerSide, 5, 5, {.Rank = 0}); },
       "click 5 5\nrow 1\nbutton 編成\nrow 0\nrow 1\nbutton 編成\nrow 0\nbutton Cancel\n",
       [](const Game& g, const ScriptedUi& ui, const Slots& s) {
         EXPECT_EQ(g.U(s.Leader).SubordinateCount, 3);
         EXPECT_EQ(g.U(s.Loner).CommanderIndex, s.Leader);
         EXPECT_EQ(g.U(s.Other + 1).CommanderIndex, -1);
         EXPECT_EQ(Notes(ui), std::vector<std::string>{"統率力エラー|統率するユニットが多すぎます。"});
       }},
      {"generals of equal rank are refused both ways", 27,
       [](Game& g, const Slots& s) { test::PlaceUnit(g, s.Other + 1, g.PlayerSide, 5, 5, {.Rank = 0}); },
       "click 5 5\nrow 1\nbutton 編成\nrow 2\nrow 2\nbutton 編成\nrow 1\nbutton Cancel\n",
       [](const Game& g, const ScriptedUi& ui, const Slots& s) {
         EXPECT_EQ(g.U(s.Loner).CommanderIndex, -1);
         EXPECT_EQ(g.U(s.Other + 1).CommanderIndex, -1);
         EXPECT_EQ(Notes(ui), (std::vector<std::string>{"階級エラー|階級差がありません。", "階級エラー|階級差がありません。"}));
       }},
      {"独立 of a general who has acted does nothing", 27,
       [](Game& g, const Slots& s) { g.U(s.General).CanMove = 0; },
       "click 5 5\nsub 1\nbutton 独立\nbutton Cancel\n",
       [](const Game& g, const ScriptedUi&, const Slots& s) {
         EXPECT_EQ(g.U(s.General).CommanderIndex, s.Leader);
         EXPECT_EQ(g.U(s.Leader).SubordinateCount, 2);
       }},
      {"an attack on a hex that is not adjacent", 3, nullptr, "click 5 5\nbutton 戦闘　合戦\nclick 8 5\n",
       [](const Game& g, const ScriptedUi& ui, const Slots&) {
         EXPECT_EQ(Notes(ui), std::vector<std::string>{"攻撃選択ミス|隣接したへクスを攻撃して下さい"});
         EXPECT_EQ(g.GameState, 6);
       }},
      {"an attack on a friendly hex", 3,
       [](Game& g, const Slots& s) { g.U(s.Other).HexX = 4; },
       "click 5 5\nbutton 戦闘　合戦\nclick 4 5\n",
       [](const Game& g, const ScriptedUi& ui, const Slots&) {
         EXPECT_EQ(Notes(ui), std::vector<std::string>{"攻撃選択ミス|敵ユニットの存在するへクスを攻撃して下さい"});
         EXPECT_EQ(g.GameState, 6);
       }},
      {"an attack on an empty castle of one's own", 3,
       [](Game& g, const Slots&) {
         Castle& c = g.Castles[1];
         c.HexX = 6;
         c.HexY = 5;
         c.Owner = g.PlayerSide;
         g.CastleCounter = 2;
         g.H(6, 5).Terrain = 8 + g.PlayerSide;  // a castle tile shows its holder
       },
       "click 5 5\nbutton 戦闘　合戦\nclick 6 5\n",
       [](const Game& g, const ScriptedUi& ui, const Slots&) {
         EXPECT_EQ(Notes(ui), std::vector<std::string>{"攻撃選択ミス|敵の城を攻撃して下さい"});
         EXPECT_EQ(g.GameState, 6);
       }},
      {"a corps with 1 point does not attack at odds below 3", 3,
       [](Game& g, const Slots& s) {
         g.U(s.Leader).ActionPoints = 1;
         MoveEnemyNextTo(g, s, 6, 5);
         g.U(s.Enemy).CombatPower = g.U(s.Enemy).MaxCombatPower = 200;
       },
       "click 5 5\nbutton 戦闘　合戦\nclick 6 5\nanswer 1\n",
       [](const Game& g, const ScriptedUi& ui, const Slots& s) {
         EXPECT_EQ(ui.BattleShows, 0);
         EXPECT_EQ(g.U(s.Leader).ActionPoints, 1);
         EXPECT_EQ(g.U(s.Leader).TargetX, -1);
         EXPECT_EQ(g.U(s.General).TargetX, -1);
         EXPECT_EQ(g.FullAttack, 1);
         EXPECT_EQ(g.GameState, 7);
       }},
      {"a corps with 1 point attacks at odds of 3 or more", 3,
       [](Game& g, const Slots& s) {
         g.U(s.Leader).ActionPoints = 1;
         MoveEnemyNextTo(g, s, 6, 5);
       },
       "click 5 5\nbutton 戦闘　合戦\nclick 6 5\nanswer 1\nanswer 0\n",
       [](const Game& g, const ScriptedUi& ui, const Slots& s) {
         EXPECT_EQ(ui.BattleShows, 1);
         EXPECT_EQ(ui.BattleCloses, 1);
         EXPECT_EQ(g.U(s.Leader).ActionPoints, 0);
         EXPECT_EQ(g.FullAttack, 0);
         EXPECT_EQ(g.GameState, 7);
       }},
      {"the attack question answered no", 3, [](Game& g, const Slots& s) { MoveEnemyNextTo(g, s, 6, 5); },
       "click 5 5\nbutton 戦闘　合戦\nclick 6 5\nanswer 0\n",
       [](const Game& g, const ScriptedUi& ui, const Slots& s) {
         EXPECT_EQ(ui.TextsOf("question"), std::vector<std::string>{"へクス 6,5 を攻撃しますか？"});
         EXPECT_EQ(ui.BattleShows, 0);
         EXPECT_EQ(g.U(s.Leader).ActionPoints, 8);
         EXPECT_EQ(g.GameState, 7);
       }},
      {"fortifying a city clears Fortified for free", 3,
       [](Game& g, const Slots& s) {
         g.H(5, 5).Terrain = 10;
         g.U(s.Leader).Fortified = 1;
       },
       "click 5 5\nbutton 野戦築城\n",
       [](const Game& g, const ScriptedUi&, const Slots& s) {
         EXPECT_EQ(g.U(s.Leader).Fortified, 0);
         EXPECT_EQ(g.U(s.Leader).ActionPoints, 8);
         EXPECT_EQ(g.GameState, 7);
         EXPECT_EQ(g.SelectedUnit, s.Leader);
       }},
      {"field works in the open cost two points", 3, nullptr, "click 5 5\nbutton 野戦築城\n",
       [](const Game& g, const ScriptedUi&, const Slots& s) {
         EXPECT_EQ(g.U(s.Leader).Fortified, 1);
         EXPECT_EQ(g.U(s.Leader).ActionPoints, 6);
       }},
      {"recovery with one point left is not made", 3,
       [](Game& g, const Slots& s) {
         g.U(s.Leader).ActionPoints = 1;
         g.U(s.Leader).Normal = 0;
       },
       "click 5 5\nbutton 回復\n",
       [](const Game& g, const ScriptedUi&, const Slots& s) {
         EXPECT_EQ(g.U(s.Leader).Normal, 0);
         EXPECT_EQ(g.U(s.Leader).ActionPoints, 1);
         EXPECT_EQ(g.GameState, 3);
       }},
      {"standby takes at most 3 points", 3, [](Game& g, const Slots& s) { g.U(s.Leader).ActionPoints = 5; },
       "click 5 5\nbutton 援軍待機\nvalue 4\n", nullptr, "line 3: value 4 is beyond the scroll bar"},
      {"standby takes at most the points left", 3, [](Game& g, const Slots& s) { g.U(s.Leader).ActionPoints = 2; },
       "click 5 5\nbutton 援軍待機\nvalue 3\n", nullptr, "(0..2)"},
      {"standby of 3", 3, [](Game& g, const Slots& s) { g.U(s.Leader).ActionPoints = 5; },
       "click 5 5\nbutton 援軍待機\nvalue 3\n",
       [](const Game& g, const ScriptedUi&, const Slots& s) {
         EXPECT_EQ(g.U(s.Leader).ReinforcementWait, 3);
         EXPECT_EQ(g.U(s.Leader).ActionPoints, 2);
         EXPECT_EQ(g.GameState, 7);
       }},
      {"standby of 0 costs nothing", 3, nullptr, "click 5 5\nbutton 援軍待機\nvalue 0\n",
       [](const Game& g, const ScriptedUi&, const Slots& s) {
         EXPECT_EQ(g.U(s.Leader).ReinforcementWait, 0);
         EXPECT_EQ(g.U(s.Leader).ActionPoints, 8);
         EXPECT_EQ(g.GameState, 7);
       }},
      {"standby cancelled", 3, nullptr, "click 5 5\nbutton 援軍待機\nvalue cancel\n",
       [](const Game& g, const ScriptedUi&, const Slots&) { EXPECT_EQ(g.GameState, 3); }},
      {"with a corps selected another corps is ignored", 3, nullptr,
       "click 5 5\nbutton 野戦築城\nclick 3 5\nbutton 野戦築城\n",
       [](const Game& g, const ScriptedUi& ui, const Slots& s) {
         EXPECT_EQ(CountKind(ui, "unit"), 2);
         EXPECT_EQ(g.U(s.Other).Fortified, 0);
         EXPECT_EQ(g.U(s.Other).ActionPoints, 8);
         EXPECT_EQ(g.GameState, 7);
         EXPECT_EQ(g.SelectedUnit, s.Leader);
       }},
      {"行動終了 ends the selected corps' action", 3, nullptr, "click 5 5\nbutton 野戦築城\nclick 5 5\nbutton 行動終了\n",
       [](const Game& g, const ScriptedUi&, const Slots& s) {
         EXPECT_EQ(g.GameState, 3);
         EXPECT_EQ(g.U(s.Leader).CanMove, 0);
         EXPECT_EQ(g.U(s.Taisho).CanMove, 0);
       }},
      {"an enemy corps can be looked at, not chosen", 3, nullptr, "click 8 5\nbutton 移動\n",
       [](const Game& g, const ScriptedUi& ui, const Slots&) {
         EXPECT_EQ(g.GameState, 3);
         EXPECT_EQ(g.RangeOverlay, 0);
         EXPECT_EQ(ui.Log.back().Answer, -1);
       }},
      {"an enemy corps' subordinates are hidden from afar", 3, nullptr, "click 8 5\nsub 0\n", nullptr,
       "line 2: sub 0 is not in the subordinates' list (it is empty)"},
      {"an enemy corps' subordinates are shown to a unit two hexes off", 3,
       [](Game& g, const Slots& s) { g.U(s.Other).HexX = 6; },
       "click 8 5\nsub 0\nbutton Cancel\n", [](const Game&, const ScriptedUi&, const Slots&) {}},
      {"empty hexes open no window", 3, nullptr, "click 10 10\nclick 0 0\n",
       [](const Game& g, const ScriptedUi& ui, const Slots&) {
         EXPECT_EQ(CountKind(ui, "unit"), 0);
         EXPECT_EQ(g.GameState, 3);
       }},
      {"the right button drops a shown range", 3, nullptr, "click 5 5\nbutton 移動\nright 0 0\n",
       [](const Game& g, const ScriptedUi&, const Slots& s) {
         EXPECT_EQ(g.GameState, 3);
         EXPECT_EQ(g.RangeOverlay, 0);
         EXPECT_EQ(g.U(s.Leader).HexX, 5);
       }},
      {"the right button takes a tentative move back", 3, nullptr, "click 5 5\nbutton 移動\nclick 6 5\nright 6 5\n",
       [](const Game& g, const ScriptedUi&, const Slots& s) {
         EXPECT_EQ(g.GameState, 3);
         EXPECT_EQ(g.U(s.Leader).HexX, 5);
         EXPECT_EQ(g.U(s.General).HexX, 5);
         EXPECT_EQ(g.U(s.Leader).ActionPoints, 8);
       }},
      {"the right button while choosing a target lets the attacker be picked again", 3,
       [](Game& g, const Slots& s) { g.U(s.Other).MayAttack = 1; },
       "click 5 5\nbutton 戦闘　合戦\nright 1 1\nclick 3 5\nbutton 戦闘　合戦\n",
       [](const Game& g, const ScriptedUi&, const Slots& s) {
         EXPECT_EQ(g.GameState, 6);
         EXPECT_EQ(g.ActiveUnit, s.Other);
       }},
      {"menu commands outside the three phases do nothing", 3, nullptr,
       "click 5 5\nbutton 戦闘　合戦\nmenu フェイズ終了\nmenu キャンセル\n",
       [](const Game& g, const ScriptedUi&, const Slots&) { EXPECT_EQ(g.GameState, 6); }},
  };
  return cases;
}

class Commands : public ::testing::TestWithParam<int> {};

TEST_P(Commands, EveryCaseForEitherSide) {
  const int side = GetParam();
  const Slots s = SlotsFor(side);
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.Name);
    auto g = Field(side, c.Phase);
    if (c.Setup) c.Setup(*g, s);
    const auto before = Image(*g);
    ScriptedUi ui;
    const std::string error = PlayScriptText(*g, ui, c.Lines);
    if (*c.Error != '\0') {
      EXPECT_NE(error.find(c.Error), std::string::npos) << error;
      EXPECT_EQ(Image(*g), before) << "a refused script changed the game";
      continue;
    }
    ASSERT_EQ(error, "");
    c.Check(*g, ui, s);
    EXPECT_EQ(test::BrokenInvariants(*g), "");
  }
}

INSTANTIATE_TEST_SUITE_P(EitherSide, Commands, ::testing::Values(0, 1));

// Lines that are not inputs, or inputs at a moment that has no use for them: the error names
// the line and the game stays as it was.
TEST(InputScripts, EveryBadLineIsRefusedWithItsNumberAndChangesNothing) {
  struct Bad {
    const char* Lines;
    const char* Error;
  };
  const Bad bad[] = {
      {"jump 3 4\n", "line 1: unknown input 'jump'"},
      {"\n# a comment\nclick 3\n", "line 3: click needs a hex X Y"},
      {"click 20 0\n", "line 1: click needs a hex X Y with both numbers 0..19"},
      {"right 3 4 5\n", "line 1: unexpected '5' after 'right'"},
      {"menu 終了\n", "line 1: menu '終了' is not a command"},
      {"click 5 5\nbutton 戦闘 合戦\n", "line 2: button '戦闘 合戦' is not a button of the unit window"},
      {"answer 2\n", "line 1: answer needs 1 (first button) or 0 (second button)"},
      {"row -1\n", "line 1: row needs a row number from 0"},
      {"value lots\n", "line 1: value needs a number from 0 or 'cancel'"},
      {"double 1\n", "line 1: unexpected '1' after 'double'"},
      {"row 0\n", "line 1: 'row 0' while the map (no window is open) waits for click, right or menu"},
      {"click 5 5\nrow 5\n", "line 2: row 5 is not in the unit window's list (rows 0..1)"},
      {"click 5 5 # the leader\n", "line 2: the script ends while the unit window waits for row, sub, button or double"},
      {"click 5 5\nbutton 補充\n", "line 2: the button 補充 is not enabled in this phase"},
      {"click 5 5\nbutton 援軍待機\nanswer 1\n", "line 3: 'answer 1' while the window \"援軍待機\" waits for a value"},
      {"click 5 5\nbutton 移動\nclick 6 5\nclick 6 5\nanswer 1\n", "line 5: 'answer 1' while the map"},
      {"click 5 5\nbutton 移動\nclick 7 5\nclick 7 5\nclick 7 5\nbutton 戦闘　合戦\nclick 8 5\nvalue 1\n",
       "line 8: 'value 1' while the question \"攻撃選択\" waits for an answer"},
      {"click 5 5\nbutton 移動\nclick 7 5\nclick 7 5\nclick 7 5\nbutton 戦闘　合戦\nclick 8 5\nanswer 1\n",
       "line 9: the script ends while the question"},
      {"# seed twelve\n", "line 1: the seed comment needs a number"},
      {"# advance-limit 20\n", "line 1: the advance-limit comment needs a column 0..19"},
      {"# opponent clever\n", "line 1: the opponent comment needs standard or strong"},
  };
  for (const Bad& b : bad) {
    SCOPED_TRACE(b.Lines);
    auto g = Field(0, 3);
    const auto before = Image(*g);
    ScriptedUi ui;
    const std::string error = PlayScriptText(*g, ui, b.Lines);
    EXPECT_EQ(error.rfind(b.Error, 0), 0u) << error;
    EXPECT_EQ(Image(*g), before);
  }
}

// A recording: the header names the seed, the advance limit and the start save written beside it, scroll lines
// come before the input they preceded, and nothing is written while paused.
TEST(InputScripts, ARecordingReadsBackWithItsSeedSaveAndViewMoves) {
  test::TempDir dir;
  const std::string path = dir.File("rec.txt");
  InputRecorder recorder(path);
  std::int32_t scrollX = 0, scrollY = 0;
  const std::vector<std::uint8_t> image(kSaveImageSize, 7);
  ASSERT_TRUE(recorder.Begin(123456789u, 15, image, "新規", &scrollX, &scrollY));
  recorder.Write(Input::Click(5, 5));
  scrollX = 120;
  recorder.Write(Input::Press(WindowButton::Battle));
  recorder.Pause();
  recorder.Write(Input::Of(InputKind::Answer, 1));
  recorder.Resume();
  recorder.Write(Input::MenuCommand(MenuItem::PhaseEnd));
  EXPECT_EQ(test::ReadBytes(recorder.StartSavePath()), image);
  const auto bytes = test::ReadBytes(path);
  const InputScript script = ParseInputScript(std::string(bytes.begin(), bytes.end()));
  EXPECT_EQ(script.Seed, 123456789u);
  EXPECT_EQ(script.AdvanceLimit, 15);  // not in the save, so the recording keeps it
  EXPECT_FALSE(script.Played.has_value());  // a game against the standard opponent says nothing
  EXPECT_EQ(script.SaveName, "rec.txt.start.dat");
  std::string lines;
  for (const Input& in : script.Inputs) lines += FormatInput(in) + "\n";
  EXPECT_EQ(lines, "click 5 5\nscroll 120 0\nbutton 戦闘　合戦\nmenu フェイズ終了\n");
}

// The line of every input reads back as the same input.
TEST(InputScripts, FormattedInputsReadBack) {
  const Input inputs[] = {Input::Click(0, 19), Input::Right(19, 0), Input::MenuCommand(MenuItem::PhaseEnd),
                          Input::MenuCommand(MenuItem::Cancel), Input::MenuCommand(MenuItem::Undo),
                          Input::Of(InputKind::Row, 3),
                          Input::Of(InputKind::Sub, 0), Input::Press(WindowButton::Battle),
                          Input::Press(WindowButton::Cancel), Input::Of(InputKind::Double),
                          Input::Of(InputKind::Answer, 0), Input::Of(InputKind::Value, 12),
                          Input::Of(InputKind::ValueCancel), Input::Of(InputKind::Reinforce, 2),
                          Input::Of(InputKind::ReinforceNone)};
  std::string text = "# seed 4000000000\n# save start.dat\n";
  for (const Input& in : inputs) text += FormatInput(in) + "\n";
  const InputScript script = ParseInputScript(text);
  ASSERT_EQ(script.Inputs.size(), std::size(inputs));
  EXPECT_EQ(script.Seed, 4000000000u);
  EXPECT_EQ(script.SaveName, "start.dat");
  for (std::size_t i = 0; i < std::size(inputs); ++i) {
    EXPECT_EQ(FormatInput(script.Inputs[i]), FormatInput(inputs[i]));
    EXPECT_EQ(script.Inputs[i].Line, static_cast<int>(i) + 3);
  }
}


// 取り消し after a confirmed move brings back the game as it was before the move, byte for
// byte; after anything else it changes nothing. Each row: the lines played first, then whether
// "menu 取り消し" restores the game as it stood after `Back` of them, or leaves it alone.
TEST(UndoMove, TakesBackTheConfirmedMoveOnlyUntilAnythingElseHappens) {
  const std::string move = "click 5 5\nrow 0\nbutton 移動\nclick 7 5\nclick 7 5\n";
  struct Row {
    const char* Name;
    std::string Back;   // the game after these lines is what an undo brings back
    std::string Then;   // played after them; the undo comes last
    bool Undone;
    int MovesLeft;      // moves the chronicle keeps at the end: an undone move is not among them
  };
  const Row rows[] = {
      {"a move from phase 3", "", move, true, 0},
      {"the second move of a corps", move, "click 7 5\nbutton 移動\nclick 6 5\nclick 6 5\n", true, 1},
      {"a move taken back instead of confirmed", "", "click 5 5\nrow 0\nbutton 移動\nclick 7 5\nclick 6 6\n", false, 0},
      {"a look at the corps after the move", "", move + "click 7 5\nbutton Cancel\n", false, 1},
      {"a battle after the move", "", move + "click 7 5\nbutton 戦闘　合戦\nclick 8 5\nanswer 1\nanswer 0\n", false, 1},
      {"a second undo", "", move + "menu 取り消し\n", false, 0},
      {"nothing moved", "", "", false, 0},
  };
  for (const int side : {0, 1}) {
    for (const Row& r : rows) {
      SCOPED_TRACE(std::string(r.Name) + " side " + std::to_string(side));
      auto g = Field(side, 3);
      ScriptedUi ui;
      ASSERT_EQ(PlayScriptText(*g, ui, r.Back), "");
      const auto back = Image(*g);
      const int selected = g->SelectedUnit, state = g->GameState;
      ASSERT_EQ(PlayScriptText(*g, ui, r.Then), "");
      const auto before = Image(*g);
      ASSERT_EQ(PlayScriptText(*g, ui, "menu 取り消し\n"), "");
      EXPECT_TRUE(Image(*g) == (r.Undone ? back : before));
      Chronicle c;
      for (const Event& e : ui.Events) Record(c, e);
      EXPECT_EQ(std::count_if(c.Events.begin(), c.Events.end(), [](const Event& e) { return e.Kind == EventKind::Moved; }),
                r.MovesLeft);
      if (r.Undone) {
        EXPECT_FALSE(before == back);  // the move had changed the game
        EXPECT_EQ(g->GameState, state);
        EXPECT_EQ(g->SelectedUnit, selected);
        EXPECT_EQ(g->RangeShown, 0);
        EXPECT_EQ(test::BrokenInvariants(*g), "");
      }
    }
  }
}

// A session with an undo, written as lines and played again from the same start, ends in the
// same game.
TEST(UndoMove, ARecordedSessionWithAnUndoReplaysToTheSameSave) {
  auto start = Field(1, 3);
  start->Rng.SetSeed(12345);
  const std::string session =
      "click 5 5\nrow 0\nbutton 移動\nclick 7 5\nclick 7 5\nmenu 取り消し\n"
      "click 5 5\nrow 0\nbutton 移動\nclick 6 4\nclick 6 4\n"
      "click 6 4\nbutton 行動終了\nmenu フェイズ終了\n";
  auto played = std::make_unique<Game>(*start);
  ScriptedUi ui;
  ui.Closing = true;
  ASSERT_EQ(PlayScriptText(*played, ui, session), "");
  EXPECT_EQ(played->Turn, 4);
  EXPECT_EQ(played->U(SlotsFor(1).Leader).CanMove, 1);  // a new turn
  std::string recording = "# seed 12345\n";
  for (const Input& in : ParseInputScript(session).Inputs) recording += FormatInput(in) + "\n";
  EXPECT_NE(recording.find("menu 取り消し\n"), std::string::npos);
  auto replayed = std::make_unique<Game>(*start);
  ScriptedUi again;
  again.Closing = true;
  ASSERT_EQ(PlayScriptText(*replayed, again, recording), "");
  EXPECT_TRUE(Image(*replayed) == Image(*played));
}

}  // namespace
}  // namespace milgant
