// The rules' only way to the screen. Every note, question, choice, redraw and wait the rules
// need goes through one of these calls; the Qt windows implement them, and ScriptedUi answers
// them from a script for the tests and milgant-cli. A call never re-enters the rules.
#pragma once

#include <string>
#include <string_view>

namespace milgant {

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

  // The unit window over hex (x, y): the slot of the unit chosen, or -1 when none was.
  virtual int OpenUnitWindow(int x, int y) = 0;
  // The allocation windows: the number chosen, 0 for none.
  virtual int AllocateReplenishment(int unitSlot, int maximum) = 0;
  virtual int AllocateStandby(int unitSlot, int maximum) = 0;

  // The battle window.
  virtual void BattleShow(int x, int y) = 0;
  virtual void BattleMessage(std::string_view text) = 0;
  virtual void BattleArrows() = 0;
  // The reinforcement choice after a round: the slot chosen, or -1 for none.
  virtual int BattleChooseReinforcement(int side) = 0;
  virtual void BattleClose() = 0;

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
};

}  // namespace milgant
