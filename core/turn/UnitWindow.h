// The unit window's rules: which corps and independent generals a clicked hex lists, the details
// of the one selected and of his subordinates, the organisation done inside the window, and the
// command its buttons leave for the map click. The Qt window only shows this state and hands
// the player's inputs to it; the scripted screen does the same from a script.
#pragma once

#include <array>
#include <string>

#include "core/game/Header.h"
#include "core/game/InputScript.h"

namespace milgant {

struct Game;
class Ui;

// What the value labels show, in the order of texts::kDetailCaptions.
enum class Detail {
  Army, General, CombatModifier, SelectionMode, Power, Steps, ActionPoints, Morale, Command, Rank, Supply,
  Movement, Order, Fortified, Standby
};
constexpr int kDetailCount = 15;

class UnitWindow {
 public:
  // Opens the window over (x, y): every corps commander and independent general there, the
  // first one selected.
  UnitWindow(Game& g, Ui& ui, int x, int y);

  // The player's inputs. False, with the reason, for one the window cannot take (a row that
  // is not in its list, a button the phase has not enabled, any input once it is closed).
  bool Apply(const Input& in, std::string& why);
  // Closed by the program (it is shutting down): as Cancel.
  void ForceCancel();

  bool Closed() const { return closed_; }
  // Closed with Cancel (or by the program) rather than by a command or a choice.
  bool Cancelled() const { return cancelled_; }
  // After it closed: the unit chosen, or -1. In the replenishment phase a corps with
  // subordinates asks first whether the commander or the selected subordinate is meant.
  int ChosenUnit();

  // --- what the window shows -----------------------------------------------------------------
  int X() const { return x_; }
  int Y() const { return y_; }
  int RowCount() const { return count_; }
  int RowSlot(int row) const { return rows_[static_cast<std::size_t>(row)]; }
  int Row() const { return row_; }
  int SubCount() const { return subCount_; }
  int SubSlot(int row) const { return subRows_[static_cast<std::size_t>(row)]; }
  int SubRow() const { return subRow_; }
  bool Organising() const { return organising_; }
  bool Enabled(WindowButton b) const;
  // The counter shown: Side * 6 + Rank * 2 of the corps on display, -1 for none.
  int Picture() const { return picture_; }
  const std::array<std::string, kDetailCount>& Values() const { return values_; }
  // "ArmyName GeneralName" of a slot, as a list row reads.
  std::string RowText(int slot) const;

 private:
  void SelectRow(int row);
  void SelectSub(int row);
  void Press(WindowButton b);
  void ShowCorps(int row);
  void ShowSubordinate(int slot);
  void FillDetails(int slot, bool subordinate);
  void Close() { closed_ = true; }
  bool PlayersOwn(int slot) const;

  Game& g_;
  Ui& ui_;
  int x_, y_;
  std::array<int, kUnitSlots - 1> rows_{};  // listed slots
  int count_ = 0;
  int row_ = -1;
  std::array<int, kMaxSubordinates> subRows_{};  // what the lower list shows
  int subCount_ = 0;
  int subRow_ = -1;
  bool cancelled_ = false;
  bool closed_ = false;
  bool organising_ = false;
  int organiseSlot_ = -1;
  int picture_ = -1;
  std::array<std::string, kDetailCount> values_{};
  int chosen_ = -2;  // -2 until ChosenUnit has decided
};

// The whole window for a hex, as the map click uses it: open, let the player act, and return
// the unit chosen or -1. A hex without a corps or independent general opens nothing.
int OpenUnitWindow(Game& g, Ui& ui, int x, int y);

}  // namespace milgant
