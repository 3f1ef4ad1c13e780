#include "core/turn/MapClick.h"

#include <string>

#include "core/combat/ForceRatio.h"
#include "core/rules/PositionValue.h"
#include "core/combat/Battle.h"
#include "core/game/Game.h"
#include "core/game/HexGrid.h"
#include "core/game/Rounding.h"
#include "core/game/Ui.h"
#include "core/turn/AttackPreview.h"
#include "core/turn/CommandTexts.h"
#include "core/rules/MoraleRecovery.h"
#include "core/rules/Movement.h"
#include "core/turn/PhaseSequence.h"
#include "core/turn/UnitWindow.h"

namespace milgant {
namespace {

constexpr int kRecoverCost = 2;
constexpr int kFortifyCost = 2;
constexpr int kMaxStandby = 3;

bool ValidSlot(int slot) { return slot >= 1 && slot < kUnitSlots; }

bool IsCommandCode(int state) { return state == 4 || state == 6 || state == 28 || state == 29 || state == 30; }

}  // namespace

// No replenishment in contact with the enemy: a neighbour whose first unit is the computer's.
bool InContactWithEnemy(const Game& g, const Unit& u) {
  for (int d = 1; d <= 6; ++d) {
    const HexPos n = Neighbour(u.HexX, u.HexY, d);
    if (!OnMapHex(n.X, n.Y)) continue;
    const int first = FirstUnitAt(g, n.X, n.Y);
    if (first != -1 && g.U(first).Side == g.ComputerSide) return true;
  }
  return false;
}

namespace {

// Phase 2: steps bought with replenishment points.
void Replenish(Game& g, Ui& ui, int x, int y) {
  g.RangeOverlay = 0;
  ui.RefreshStatusLine();
  const int first = TopUnitsAtHex(g, x, y).First();
  const int slot = OpenUnitWindow(g, ui, x, y);
  if (slot == -1) return;
  if (g.U(first).Supplied == 0) {
    ui.Note(texts::kNoReplenishCaption, texts::kNoReplenishText);
    return;
  }
  Unit& u = g.U(slot);
  if (InContactWithEnemy(g, u)) return;
  g.ActiveUnit = slot;
  const int missing = u.MaxSteps - u.Steps > 0 ? u.MaxSteps - u.Steps : 0;
  const int points = g.ReplenishmentPoints[static_cast<std::size_t>(g.PlayerSide)];
  // Units of movement type 2 pay two points a step; their window counts half steps.
  const bool doubleCost = u.MovementType == 2;
  const int want = doubleCost ? missing * 2 : missing;
  int limit = want < points ? want : points;
  if (limit < 0) limit = 0;
  const int m = ui.AllocateReplenishment(texts::kReplenishCaption, texts::kReplenishText, doubleCost, limit);
  const int cost = doubleCost ? 2 * m : m;
  if (m < 0 || points < cost) return;
  u.Steps += m;
  if (u.MaxSteps > 0) u.CombatPower = RoundHalfEven(static_cast<double>(u.Steps) / u.MaxSteps * u.MaxCombatPower);
  g.ReplenishmentPoints[static_cast<std::size_t>(g.PlayerSide)] -= cost;
  Event e = UnitEvent(g, EventKind::Replenished, slot);
  e.Value = m;
  e.Value2 = cost;
  ui.Happened(e);
  ui.RefreshStatusLine();
}

// The game as it stands when 移動 is pressed (the window has only left its command code): what
// 取り消し brings back once the move is confirmed.
void KeepForUndo(Game& g, int stateBefore) {
  MoveUndo& u = g.Undo;
  u.Armed = false;
  u.Units = g.Units;
  u.GameState = stateBefore;
  u.SelectedUnit = g.SelectedUnit;
  u.ActiveUnit = g.ActiveUnit;
  u.SavedHexX = g.SavedHexX;
  u.SavedHexY = g.SavedHexY;
  u.ScrollX = g.ScrollX;
  u.ScrollY = g.ScrollY;
}

// Phases 3 and 7: a corps picked in the unit window and the command it was given there.
void Command(Game& g, Ui& ui, int x, int y) {
  const int before = g.GameState;  // 3, or 7 when a corps has already been given an order
  const bool selected = before == 7;
  g.RangeOverlay = 0;
  const int slot = OpenUnitWindow(g, ui, x, y);
  // A command button left its code; when nothing comes of it the phase is what it was (行動終了
  // has already set its own).
  auto fallBack = [&] {
    if (IsCommandCode(g.GameState) || g.GameState == before) g.GameState = before;
  };
  if (slot == -1 || (selected && slot != g.SelectedUnit)) {
    fallBack();
    return;
  }
  Unit& u = g.U(slot);
  if (u.CanMove == 0) {
    fallBack();
    return;
  }
  auto select = [&] {
    if (!selected) g.ActiveUnit = g.SelectedUnit = slot;
  };
  switch (g.GameState) {
    case 4:
      KeepForUndo(g, before);
      g.ActiveUnit = g.SelectedUnit = slot;
      ShowMoveRange(g, ui, slot);
      return;
    case 6:
      g.ActiveUnit = g.SelectedUnit = slot;
      return;
    case 28:
      if (u.ActionPoints < kRecoverCost) return fallBack();
      MoraleRecovery(g, ui, slot);
      u.ActionPoints -= kRecoverCost;
      g.GameState = 7;
      select();
      return;
    case 29:
      if (g.H(x, y).Terrain < 8) {
        if (u.ActionPoints < kFortifyCost) return fallBack();
        u.Fortified = 1;
        u.ActionPoints -= kFortifyCost;
      } else {
        // A city is fortified already: no works are dug, and nothing is paid.
        u.Fortified = 0;
      }
      g.GameState = 7;
      select();
      return;
    case 30: {
      int limit = u.ActionPoints < kMaxStandby + 1 ? u.ActionPoints : kMaxStandby;
      if (limit < 0) limit = 0;
      const int m = ui.AllocateStandby(texts::kStandbyCaption, texts::kStandbyText, limit);
      if (m < 0) return fallBack();
      g.GameState = 7;
      select();
      u.ReinforcementWait = m;
      u.ActionPoints -= m;
      return;
    }
    default:
      return;  // Cancel, 行動終了 or 補充
  }
}

// Phase 5: the attacker is picked again.
void PickAttacker(Game& g, Ui& ui, int x, int y) {
  g.RangeOverlay = 0;
  ui.RedrawMap();
  const int slot = OpenUnitWindow(g, ui, x, y);
  if (slot != -1 && g.U(slot).MayAttack == 1) {
    g.ActiveUnit = slot;
    g.GameState = 6;
  } else {
    g.GameState = 5;
  }
  ui.RedrawMap();
}

// Phase 6: the hex to attack.
void Attack(Game& g, Ui& ui, int x, int y) {
  const int attacker = g.ActiveUnit;
  if (!ValidSlot(attacker)) return;
  // A mistaken hex is named; too few points are found out only once the odds set the cost.
  const AttackRefusal why = CheckAttack(g, attacker, x, y);
  if (why == AttackRefusal::NotAdjacent || why == AttackRefusal::OwnUnits || why == AttackRefusal::OwnCastle) {
    ui.Note(texts::kAttackMistake, RefusalText(why));
    return;
  }
  const std::string question = std::string(texts::kAttackQuestionHead) + std::to_string(x) + "," + std::to_string(y) +
                               std::string(texts::kAttackQuestionTail);
  if (!ui.Ask(texts::kAttackQuestion, question)) {
    g.GameState = 7;
    return;
  }
  g.GameState = 7;
  MarkCorps(g, attacker, x, y);
  // At odds of 3 or more one battle settles it for a point; below that the corps commits to an
  // engagement for three.
  const double odds = AttackOdds(g, x, y, g.ComputerSide);
  const int cost = AttackCost(odds);
  g.FullAttack = cost == 1 ? 0 : 1;
  Unit& u = g.U(attacker);
  if (u.ActionPoints < cost) {
    MarkCorps(g, attacker, -1, -1);
    return;
  }
  u.ActionPoints -= cost;
  FightBattle(g, ui, x, y);
  ui.BattleClose();
  g.GameState = 7;
  ui.RedrawMap();
}

}  // namespace

void LeftClick(Game& g, Ui& ui, int x, int y) {
  if (!OnMapHex(x, y)) return;
  g.ClickX = x;
  g.ClickY = y;
  const int state = g.GameState;
  if (state == 4) return ClickMoveDestination(g, ui, g.ActiveUnit, x, y);
  if (state == 24) {
    // A click on the hex the corps now stands on confirms the move; anywhere else takes it back.
    const bool confirms = ValidSlot(g.ActiveUnit) && g.U(g.ActiveUnit).HexX == x && g.U(g.ActiveUnit).HexY == y;
    ClickMoveConfirmation(g, ui, g.ActiveUnit, x, y);
    if (confirms && g.GameState == 7) {
      g.Undo.Armed = true;
      g.Undo.Seed = g.Rng.Seed();
    }
    return;
  }
  if (state == 6) return Attack(g, ui, x, y);
  // Everywhere else the click is about the corps on the hex; without one nothing opens.
  if (TopUnitsAtHex(g, x, y).Count == 0) return;
  switch (state) {
    case 2: return Replenish(g, ui, x, y);
    case 3:
    case 7: return Command(g, ui, x, y);
    case 5: return PickAttacker(g, ui, x, y);
    case 27:
      g.RangeOverlay = 0;
      OpenUnitWindow(g, ui, x, y);  // the organisation happens inside the window
      return;
    default: return;
  }
}

Dispatched RightButton(Game& g, Ui& ui, int x, int y) {
  g.ClickX = x;
  g.ClickY = y;
  switch (g.GameState) {
    case 4: CancelMoveRange(g, ui); return Dispatched::Done;
    case 6: g.GameState = 5; return Dispatched::Done;
    case 24: TakeBackMove(g, ui, g.ActiveUnit); return Dispatched::Done;
    default: return Dispatched::PopupMenu;
  }
}

void MenuCommand(Game& g, Ui& ui, MenuItem item) {
  if (item == MenuItem::PhaseEnd) PhaseEnd(g, ui);
  if (item == MenuItem::Undo) UndoMove(g, ui);
}

bool CanUndoMove(const Game& g) {
  return g.Undo.Armed && g.GameState == 7 && g.Rng.Seed() == g.Undo.Seed;
}

bool UndoMove(Game& g, Ui& ui) {
  if (!CanUndoMove(g)) return false;
  const MoveUndo& u = g.Undo;
  ui.Happened(UnitEvent(g, EventKind::MoveTakenBack, u.ActiveUnit));
  g.Units = u.Units;
  g.GameState = u.GameState;
  g.SelectedUnit = u.SelectedUnit;
  g.ActiveUnit = u.ActiveUnit;
  g.SavedHexX = u.SavedHexX;
  g.SavedHexY = u.SavedHexY;
  g.ScrollX = u.ScrollX;
  g.ScrollY = u.ScrollY;
  g.Undo.Armed = false;
  ClearMoveRange(g);
  g.RangeOverlay = 0;
  g.RangeShown = 0;
  ui.RedrawMap();
  ui.RefreshStatusLine();
  return true;
}

Dispatched DispatchInput(Game& g, Ui& ui, const Input& in) {
  // Only the input right after a confirmed move may take it back.
  if (!(in.Kind == InputKind::Menu && in.Menu == MenuItem::Undo)) g.Undo.Armed = false;
  switch (in.Kind) {
    case InputKind::Click: LeftClick(g, ui, in.X, in.Y); return Dispatched::Done;
    case InputKind::Right: return RightButton(g, ui, in.X, in.Y);
    case InputKind::Menu: MenuCommand(g, ui, in.Menu); return Dispatched::Done;
    default: return Dispatched::Ignored;
  }
}

}  // namespace milgant
