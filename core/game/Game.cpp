#include "core/game/Game.h"

#include <initializer_list>

#include "core/game/HexGrid.h"
#include "core/game/RuleTables.h"

namespace milgant {

const std::array<std::string_view, 2> SideNames = {"ヴァルネ方", "ソルカ方"};
const std::array<std::string_view, 2> ArmyNames = {"ヴァルネ軍", "ソルカ軍"};
const std::array<std::string_view, 3> RankNames = {"武将", "大将", "総大将"};
const std::array<std::string_view, 31> PhaseNames = {
    "",  // 0
    "",  // 1
    "フェイズ",  // 2
    "移動ユニット選択フェイズ",  // 3
    "移動フェイズ",  // 4
    "攻撃フェイズ",  // 5
    "攻撃選択フェイズ",  // 6
    "軍団選択中",  // 7
    "リアクション移動フェイズ",  // 8
    "リアクション攻撃選択フェイズ",  // 9
    "リアクション攻撃フェイズ",  // 10
    "",  // 11
    "",  // 12
    "ユニット自由配置フェイズ",  // 13
    "再編成フェイズ",  // 14
    "移動フェイズ",  // 15
    "攻撃フェイズ",  // 16
    "リアクション移動フェイズ",  // 17
    "強行軍移動フェイズ",  // 18
    "",  // 19
    "強行軍移動選択フェイズ",  // 20
    "強行軍移動フェイズ",  // 21
    "強行軍攻撃フェイズ",  // 22
    "強行軍攻撃選択フェイズ",  // 23
    "移動決定",  // 24
    "リアクション移動決定",  // 25
    "強行軍移動決定",  // 26
    "編成フェイズ",  // 27
    "野戦築城",  // 28
    "援軍待機",  // 29
    "",  // 30
};

Game::Game() {
  // Creation of the main window, less the file read of the combat results table.
  Closing = false;
  ScrollX = ScrollY = 0;
  DefaultGoalX = 2;
  DefaultGoalY = 5;
  InitialiseGame(*this);
  BuildRuleTables(*this);
  for (auto& column : MoveBlocked) column.fill(1);
  for (auto& column : MoveRemaining) column.fill(-1);
  for (auto& column : SupplyRemaining) column.fill(-1);
  BuildHexMask(HexMask);
  GameState = 0;
}

void InitialiseGame(Game& g) {
  for (Unit& u : g.Units) {
    u.OnMap = 0;
    u.CommanderIndex = -1;
    u.Fortified = 0;
    u.Subordinates.fill(-1);
    u.SubordinateCount = 0;
  }
  for (auto& column : g.Map) {
    for (Hex& h : column) {
      h.Terrain = static_cast<std::int32_t>(TerrainCode::Plain);
      h.RiverSides.fill(0);
      h.RoadSides.fill(0);
    }
  }
  ResetForNewGame(g);
  g.PlayerSide = 0;
  g.ComputerSide = 0;
  g.GameState = 0;
  g.ScrollX = g.ScrollY = 0;
}

void ResetForNewGame(Game& g) {
  g.Undo.Armed = false;
  for (int slot = 1; slot < kUnitSlots; ++slot) {
    Unit& u = g.U(slot);
    u.OnMap = 0;
    u.HexX = u.HexY = 0;
    u.MaxSteps = u.Steps = 0;
    u.MaxCombatPower = u.CombatPower = 0;
    u.ActionPoints = 0;
    u.TargetX = u.TargetY = -1;
    u.MoveGoalX = u.MoveGoalY = -1;
    u.EntryTurn = -1;
    u.CommanderIndex = -1;
    u.Subordinates.fill(-1);
    u.SubordinateCount = 0;
  }
  g.Turn = 0;
}

int FindUnitByName(const Game& g, std::string_view cp932Name) {
  for (int slot = 0; slot < kUnitSlots; ++slot) {
    if (g.U(slot).GeneralName.Equals(cp932Name)) return slot;
  }
  return 0;
}

void SetUnitButtonsForPhase(Game& g, int phase) {
  using B = UnitButton;
  auto set = [&](std::initializer_list<B> on) {
    g.UnitButtons.fill(false);
    for (B b : on) g.SetButton(b, true);
  };
  switch (phase) {
    case 2: set({B::Replenish}); break;
    case 27: set({B::Detach, B::Organise}); break;
    case 3: set({B::Move, B::Battle, B::Recover, B::EndAction, B::Fortify, B::Standby}); break;
    default: break;
  }
}

}  // namespace milgant
