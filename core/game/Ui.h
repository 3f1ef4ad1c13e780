// The rules' only way to the screen. Every note, question, choice, redraw and wait the rules
// need goes through one of these calls; the Qt windows implement them, and ScriptedUi answers
// them from a script for the tests and milgant-cli. A call never re-enters the rules.
#pragma once

#include <string>
#include <string_view>

#include "core/game/Events.h"
#include "core/game/HexGrid.h"

namespace milgant {

class UnitWindow;

// What the battle window shows of the two sides, as gathered at the start of a round (before
// the command factor): the left panel for the attacker, the right one for the defender.
struct BattleView {
  int BattleX = -1;
  int BattleY = -1;
  int AttackerSide = 0;
  int AttackerStrength = 0;   // 総合戦闘力
  int AttackerSteps = 0;      // 総合ステップ
  double AttackerSupport = 1.0;
  UnitList AttackerUnits;     // slots in list order, ascending
  int DefenderSide = 0;       // the castle's holder when the hex holds no unit
  int DefenderStrength = 0;   // garrison included
  int DefenderSteps = 0;
  double DefenderSupport = 1.0;
  int TerrainValue = 0;       // defence value of the battle hex's terrain, shown on a castle too
  double RiverFactor = 1.0;   // 1 or 1.5
  UnitList DefenderUnits;     // slots in list order (units on the hex, lowest slot first)
};

// How a battle came out: what the battle window sums up under its last message.
struct BattleOutcome {
  int Rounds = 0;
  bool CastleFallen = false;
  bool AttackerRetreated = false;  // in the last round
  bool DefenderRetreated = false;  // in the last round
  int AdvancedUnit = -1;           // the attacking leader that moved in, -1 when none did
};

class Ui {
 public:
  virtual ~Ui() = default;

  // Message and question windows. Texts are UTF-8; "\r" separates lines as in the game's texts.
  virtual void Note(std::string_view caption, std::string_view text) = 0;
  // Two buttons "OK" / "Cancel": true for the first.
  virtual bool Ask(std::string_view caption, std::string_view text) = 0;
  // Two buttons with the given captions: true for the first.
  virtual bool AskChoice(std::string_view caption, std::string_view text, std::string_view first,
                         std::string_view second) = 0;
  // The side-choice window of a new game: 0 for the first army, 1 for the second, -1 when the
  // window was closed without a choice.
  virtual int ChooseSide(std::string_view caption, std::string_view text, std::string_view first,
                         std::string_view second) = 0;
  // A plain message box (the failed-save notice).
  virtual void MessageBox(std::string_view text) = 0;

  // The unit window: shows the window's state and hands it the player's inputs (rows, buttons,
  // double clicks) until one of them closes it. The rules read the outcome from the window.
  virtual void RunUnitWindow(UnitWindow& window) = 0;
  // The allocation windows (replenishment, reinforcement standby): the value chosen with OK, or
  // -1 for Cancel. With `halfSteps` the value is half the scroll bar's position.
  virtual int AllocateReplenishment(std::string_view caption, std::string_view text, bool halfSteps,
                                    int maximum) = 0;
  virtual int AllocateStandby(std::string_view caption, std::string_view text, int maximum) = 0;

  // The battle window. The battle calls these in the order the player sees things happen:
  // BattleShow, then BattleSides and the attack arrows as each round's sides are gathered,
  // messages one by one (each returns after the player's click), retreat arrows while a
  // retreat is looked for, BattleRefresh after a round that goes on. The caller of the battle
  // closes the window.
  // Shows the window (if hidden) with the map around (x, y) drawn afresh, without arrows.
  virtual void BattleShow(int x, int y) = 0;
  // Both side panels: totals, support and river factors, terrain value, one counter per unit.
  virtual void BattleSides(const BattleView& view) = 0;
  // An attack arrow inside the hex (x, y) of an attacking unit, pointing in direction d (1..6)
  // at the battle hex.
  virtual void BattleAttackArrow(int direction, int x, int y) = 0;
  // A retreat arrow on the candidate hex (x, y), reached from the retreating stack's hex in
  // direction d (1..6).
  virtual void BattleRetreatArrow(int direction, int x, int y) = 0;
  // The map excerpt drawn again, units where they now stand, without arrows.
  virtual void BattleRefresh() = 0;
  // A battle text (UTF-8, "\r" between lines); returns once the player has clicked it away.
  virtual void BattleMessage(std::string_view text) = 0;
  // The human side's reinforcement choice in panel 0 (attacker, left list) or 1 (defender,
  // right list), one row per candidate slot in list order: the row chosen with "援軍選択",
  // or -1 for "援軍拒否". With no candidate it returns -1 at once, without waiting.
  virtual int BattleChooseReinforcement(int panel, const UnitList& candidates) = 0;
  virtual void BattleClose() = 0;
  // The battle is decided and its last message comes next. Nothing is asked or awaited.
  virtual void BattleOver(const BattleOutcome& outcome) { (void)outcome; }

  // The map and the panels.
  virtual void RedrawMap() = 0;
  virtual void RedrawAround(int x, int y) = 0;
  // One step of a move animation: the unit now stands on (x, y). Returns once the step is shown.
  virtual void MoveStep(int unitSlot, int x, int y) = 0;
  virtual void RefreshStatusLine() = 0;
  virtual void RefreshSidePanel() = 0;
  // The unit window's command buttons changed (the table lives in the game state).
  virtual void PhaseButtonsChanged() = 0;

  // Music, the ending, and whether the program is closing.
  virtual void MusicStart() = 0;
  virtual void MusicStop() = 0;
  virtual void EndingStory(int winningSide) = 0;
  virtual bool IsClosing() = 0;

  // What happened: every deed of either side, as it is done. Nothing is shown by it; whoever
  // keeps the chronicle records it.
  virtual void Happened(const Event& /*event*/) {}
};

}  // namespace milgant
