// A screen without a screen, for tests and milgant-cli: questions are answered from a queue
// (or with the first button when the queue is empty), waits return at once, and every text
// the rules showed is kept in a log.
#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "game/Ui.h"

namespace milgant {

class ScriptedUi : public Ui {
 public:
  struct Entry {
    std::string Kind;     // note, question, choice, side, message, battle, unit, allocate, standby, reinforcement
    std::string Caption;
    std::string Text;
    int Answer = 0;       // 1 = first button, 0 = second; a slot or number for the windows that return one
  };

  // Answers in order: for a question 1 picks the first button and 0 the second; for the side
  // choice 1 is the first army; for the windows that return a slot or a number, that value.
  std::deque<int> Answers;
  std::vector<Entry> Log;
  int Redraws = 0;
  int MoveSteps = 0;
  bool Closing = false;
  bool MusicPlaying = false;
  int EndingWinner = -1;

  void Note(std::string_view caption, std::string_view text) override;
  bool Ask(std::string_view caption, std::string_view text) override;
  bool AskChoice(std::string_view caption, std::string_view text, std::string_view first,
                 std::string_view second) override;
  int ChooseSide(std::string_view caption, std::string_view text, std::string_view first,
                 std::string_view second) override;
  void MessageBox(std::string_view text) override;
  int OpenUnitWindow(int x, int y) override;
  int AllocateReplenishment(int unitSlot, int maximum) override;
  int AllocateStandby(int unitSlot, int maximum) override;
  void BattleShow(int, int) override {}
  void BattleMessage(std::string_view text) override;
  void BattleArrows() override {}
  int BattleChooseReinforcement(int side) override;
  void BattleClose() override {}
  void RedrawMap() override { ++Redraws; }
  void RedrawAround(int, int) override { ++Redraws; }
  void MoveStep(int, int, int) override { ++MoveSteps; }
  void RefreshStatusLine() override {}
  void RefreshSidePanel() override {}
  void PhaseButtonsChanged() override {}
  void MusicStart() override { MusicPlaying = true; }
  void MusicStop() override { MusicPlaying = false; }
  void EndingStory(int winningSide) override { EndingWinner = winningSide; }
  bool IsClosing() override { return Closing; }

  // Texts of the log entries of one kind, in order.
  std::vector<std::string> TextsOf(std::string_view kind) const;

 private:
  int Next(int fallback);
};

}  // namespace milgant
