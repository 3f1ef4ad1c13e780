#include "core/turn/UnitWindow.h"

#include "core/rules/PositionValue.h"
#include "core/game/Game.h"
#include "core/game/HexGrid.h"
#include "core/game/Rounding.h"
#include "core/game/Text.h"
#include "core/game/Ui.h"
#include "core/turn/CommandTexts.h"
#include "core/turn/Organisation.h"

namespace milgant {
namespace {

bool ValidSlot(int slot) { return slot >= 1 && slot < kUnitSlots; }

std::string Slash(int a, int b) { return std::to_string(a) + "/" + std::to_string(b); }

// An enemy corps shows its subordinates only to a player who has a unit within two hexes.
bool PlayerUnitNear(const Game& g, const Unit& u) {
  for (int slot = 1; slot < kUnitSlots; ++slot) {
    const Unit& p = g.U(slot);
    if (p.OnMap == 1 && p.Side == g.PlayerSide && HexDistance(p.HexX, p.HexY, u.HexX, u.HexY) <= 2) return true;
  }
  return false;
}

}  // namespace

UnitWindow::UnitWindow(Game& g, Ui& ui, int x, int y) : g_(g), ui_(ui), x_(x), y_(y) {
  rows_.fill(-1);
  subRows_.fill(-1);
  const UnitList top = TopUnitsAtHex(g, x, y);
  for (int i = 0; i < top.Count && i < kUnitSlots - 1; ++i) rows_[static_cast<std::size_t>(count_++)] = top.Slots[static_cast<std::size_t>(i)];
  if (count_ > 0) ShowCorps(0);
}

std::string UnitWindow::RowText(int slot) const {
  if (!ValidSlot(slot)) return {};
  const Unit& u = g_.U(slot);
  return Cp932ToUtf8Lossy(u.ArmyName.View()) + " " + Cp932ToUtf8Lossy(u.GeneralName.View());
}

bool UnitWindow::PlayersOwn(int slot) const { return ValidSlot(slot) && g_.U(slot).Side == g_.PlayerSide; }

bool UnitWindow::Enabled(WindowButton b) const {
  switch (b) {
    case WindowButton::Move: return g_.Button(UnitButton::Move);
    case WindowButton::Battle: return g_.Button(UnitButton::Battle);
    case WindowButton::Detach: return g_.Button(UnitButton::Detach);
    case WindowButton::Organise: return g_.Button(UnitButton::Organise);
    case WindowButton::Recover: return g_.Button(UnitButton::Recover);
    case WindowButton::EndAction: return g_.Button(UnitButton::EndAction);
    case WindowButton::Replenish: return g_.Button(UnitButton::Replenish);
    case WindowButton::Fortify: return g_.Button(UnitButton::Fortify);
    case WindowButton::Standby: return g_.Button(UnitButton::Standby);
    case WindowButton::Cancel: return true;
  }
  return false;
}

void UnitWindow::FillDetails(int slot, bool subordinate) {
  const Unit& u = g_.U(slot);
  auto set = [&](Detail d, std::string v) { values_[static_cast<std::size_t>(d)] = std::move(v); };
  // A confused corps fights at half strength; so does a subordinate cut off from supply.
  const bool halved = subordinate ? u.Supplied == 0 : u.Normal != 1;
  const int power = halved ? RoundHalfEven(u.CombatPower / 2.0) : u.CombatPower;
  set(Detail::Army, Cp932ToUtf8Lossy(u.ArmyName.View()));
  set(Detail::General, Cp932ToUtf8Lossy(u.GeneralName.View()));
  set(Detail::CombatModifier, std::to_string(u.CombatModifier));
  if (!subordinate) {
    set(Detail::SelectionMode, std::string(slot == g_.SelectedUnit ? texts::kSelected : texts::kNotSelected));
    set(Detail::Fortified, std::string(u.Fortified != 0 ? texts::kFortified : texts::kNotFortified));
  }
  set(Detail::Power, Slash(power, u.MaxCombatPower));
  set(Detail::Steps, Slash(u.Steps, u.MaxSteps));
  set(Detail::ActionPoints, Slash(u.ActionPoints, u.TurnActionPoints) + "/" + std::to_string(u.CorpsActionPoints));
  set(Detail::Morale, std::to_string(u.Morale));
  set(Detail::Command, std::to_string(u.Command));
  set(Detail::Rank, u.Rank >= 0 && u.Rank <= 2 ? std::string(RankNames[static_cast<std::size_t>(u.Rank)]) : std::string());
  set(Detail::Supply, std::string(u.Supplied != 0 ? texts::kSupplied : texts::kOutOfSupply));
  set(Detail::Movement, std::string(u.CanMove != 0 ? texts::kCanMove : texts::kCannotMove));
  set(Detail::Order, std::string(u.Normal != 0 ? texts::kNormal : texts::kConfused));
  set(Detail::Standby, std::to_string(u.ReinforcementWait));
}

void UnitWindow::ShowCorps(int row) {
  row_ = row;
  const int slot = rows_[static_cast<std::size_t>(row)];
  const Unit& u = g_.U(slot);
  const int side = u.Side <= 1 ? u.Side : 0;
  const int rank = u.Rank >= 0 && u.Rank <= 2 ? u.Rank : 0;
  picture_ = side * 6 + rank * 2;
  FillDetails(slot, false);
  subRows_.fill(-1);
  subCount_ = 0;
  subRow_ = -1;
  if (u.Side == g_.ComputerSide && !PlayerUnitNear(g_, u)) return;
  for (int i = 0; i < u.SubordinateCount && i < kMaxSubordinates; ++i) {
    const int s = u.Subordinates[static_cast<std::size_t>(i)];
    if (ValidSlot(s)) subRows_[static_cast<std::size_t>(subCount_++)] = s;
  }
}

void UnitWindow::SelectRow(int row) {
  if (!organising_) {
    ShowCorps(row);
    return;
  }
  organising_ = false;
  const int general = organiseSlot_;
  const int commander = rows_[static_cast<std::size_t>(row)];
  if (!PlayersOwn(commander) || AttachGeneral(g_, ui_, commander, general) != AttachOutcome::Attached) {
    ShowCorps(row);
    return;
  }
  // The general's row leaves the list, which closes up.
  int at = -1;
  for (int i = 0; i < count_; ++i) {
    if (rows_[static_cast<std::size_t>(i)] == general) at = i;
  }
  if (at >= 0) {
    for (int i = at; i + 1 < count_; ++i) rows_[static_cast<std::size_t>(i)] = rows_[static_cast<std::size_t>(i + 1)];
    rows_[static_cast<std::size_t>(--count_)] = -1;
  }
  for (int i = 0; i < count_; ++i) {
    if (rows_[static_cast<std::size_t>(i)] == commander) ShowCorps(i);
  }
}

void UnitWindow::SelectSub(int row) {
  subRow_ = row;
  FillDetails(subRows_[static_cast<std::size_t>(row)], true);
}

void UnitWindow::Press(WindowButton b) {
  switch (b) {
    case WindowButton::Move: g_.GameState = 4; Close(); return;
    case WindowButton::Battle: g_.GameState = 6; Close(); return;
    case WindowButton::Recover: g_.GameState = 28; Close(); return;
    case WindowButton::Fortify: g_.GameState = 29; Close(); return;
    case WindowButton::Standby: g_.GameState = 30; Close(); return;
    case WindowButton::Replenish: Close(); return;
    case WindowButton::Cancel:
      cancelled_ = true;
      Close();
      return;
    case WindowButton::EndAction: {
      // Ends the action of the corps that has been given an order; otherwise nothing.
      if (g_.GameState != 7) return;
      const int sel = g_.SelectedUnit;
      if (ValidSlot(sel)) {
        Unit& u = g_.U(sel);
        u.CanMove = 0;
        for (int i = 0; i < u.SubordinateCount && i < kMaxSubordinates; ++i) {
          const int s = u.Subordinates[static_cast<std::size_t>(i)];
          if (ValidSlot(s)) g_.U(s).CanMove = 0;
        }
      }
      g_.GameState = 3;
      ui_.RedrawMap();
      Close();
      return;
    }
    case WindowButton::Detach: {
      if (row_ < 0 || subRow_ < 0) return;
      const int commander = rows_[static_cast<std::size_t>(row_)];
      const int sub = subRows_[static_cast<std::size_t>(subRow_)];
      if (!PlayersOwn(commander) || !DetachGeneral(g_, ui_, commander, sub)) return;
      if (count_ < kUnitSlots - 1) rows_[static_cast<std::size_t>(count_++)] = sub;
      ShowCorps(row_);
      return;
    }
    case WindowButton::Organise: {
      if (row_ < 0) return;
      const int general = rows_[static_cast<std::size_t>(row_)];
      if (!PlayersOwn(general) || !CanJoinCorps(g_, general)) return;
      organising_ = true;
      organiseSlot_ = general;
      return;
    }
  }
}

bool UnitWindow::Apply(const Input& in, std::string& why) {
  if (closed_) {
    why = "the unit window is already closed";
    return false;
  }
  switch (in.Kind) {
    case InputKind::Row:
      if (in.X < 0 || in.X >= count_) {
        why = "row " + std::to_string(in.X) + " is not in the unit window's list (" +
              (count_ == 1 ? std::string("row 0") : "rows 0.." + std::to_string(count_ - 1)) + ")";
        return false;
      }
      SelectRow(in.X);
      return true;
    case InputKind::Sub:
      if (in.X < 0 || in.X >= subCount_) {
        why = "sub " + std::to_string(in.X) + " is not in the subordinates' list (" +
              (subCount_ == 0 ? std::string("it is empty") : "rows 0.." + std::to_string(subCount_ - 1)) + ")";
        return false;
      }
      SelectSub(in.X);
      return true;
    case InputKind::Button:
      if (!Enabled(in.Button)) {
        why = "the button " + std::string(ButtonCaption(in.Button)) + " is not enabled in this phase";
        return false;
      }
      Press(in.Button);
      return true;
    case InputKind::Double:
      Close();
      return true;
    default:
      why = "'" + FormatInput(in) + "' is not an input of the unit window";
      return false;
  }
}

void UnitWindow::ForceCancel() {
  cancelled_ = true;
  organising_ = false;
  Close();
}

int UnitWindow::ChosenUnit() {
  if (chosen_ != -2) return chosen_;
  chosen_ = -1;
  if (cancelled_ || row_ < 0 || row_ >= count_) return chosen_;
  const int slot = rows_[static_cast<std::size_t>(row_)];
  // Enemy units can be looked at, not chosen.
  if (!ValidSlot(slot) || g_.U(slot).Side == g_.ComputerSide) return chosen_;
  chosen_ = slot;
  if (g_.GameState == 2 && g_.U(slot).SubordinateCount > 0) {
    const bool commander = ui_.AskChoice(texts::kRegroupCaption, texts::kRegroupText, texts::kRegroupCommander,
                                         texts::kRegroupSubordinate);
    if (!commander && subRow_ >= 0) chosen_ = subRows_[static_cast<std::size_t>(subRow_)];
  }
  return chosen_;
}

int OpenUnitWindow(Game& g, Ui& ui, int x, int y) {
  if (!OnMapHex(x, y) || TopUnitsAtHex(g, x, y).Count == 0) return -1;
  UnitWindow window(g, ui, x, y);
  ui.RunUnitWindow(window);
  if (!window.Closed()) window.ForceCancel();
  return window.ChosenUnit();
}

}  // namespace milgant
