// A screen without a screen, for tests and milgant-cli: questions are answered from a queue
// (or with the first button when the queue is empty), waits return at once, and every text
// the rules showed is kept in a log.
#pragma once

#include <array>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "core/game/InputScript.h"
#include "core/game/Ui.h"

namespace milgant {

class ScriptedUi : public Ui {
 public:
  struct Entry {
    std::string Kind;     // note, question, choice, side, message, battle, unit, allocate, standby, reinforcement
    std::string Caption;  // a reinforcement choice: "attacker" or "defender" (the panel)
    std::string Text;     // a reinforcement choice: the candidate slots, row by row, "12,15"
    int Answer = 0;       // 1 = first button, 0 = second; a slot or number for the windows that
                          // return one; the row chosen or -1 (援軍拒否) for a reinforcement
  };

  // Answers in order: for a question 1 picks the first button and 0 the second; for the side
  // choice 1 is the first army; for the windows that return a slot or a number, that value;
  // for a reinforcement choice the row (0-based), -1 or any row not in the list refusing. A
  // reinforcement choice without candidates takes no answer and is not logged; an empty queue
  // refuses.
  std::deque<int> Answers;
  // When set, every window takes its inputs from this script instead (answer, value, reinforce,
  // and row, sub, button, double for the unit window); a line of the wrong kind, out of range,
  // or missing is a ScriptError naming the line.
  InputFeed* Feed = nullptr;
  std::vector<Entry> Log;
  // Every event the rules reported, in order (unless KeepEvents is off).
  std::vector<Event> Events;
  bool KeepEvents = true;
  int Redraws = 0;
  int MoveSteps = 0;
  bool Closing = false;
  bool MusicPlaying = false;
  int EndingWinner = -1;
  // The battle window: how often it was shown and closed, the sides last shown, the attack
  // arrows drawn and every retreat arrow as (direction, x, y).
  int BattleShows = 0;
  int BattleCloses = 0;
  BattleView LastSides;
  int AttackArrows = 0;
  std::vector<std::array<int, 3>> RetreatArrows;

  void Note(std::string_view caption, std::string_view text) override;
  bool Ask(std::string_view caption, std::string_view text) override;
  bool AskChoice(std::string_view caption, std::string_view text, std::string_view first,
                 std::string_view second) override;
  int ChooseSide(std::string_view caption, std::string_view text, std::string_view first,
                 std::string_view second) override;
  void MessageBox(std::string_view text) override;
  void RunUnitWindow(UnitWindow& window) override;
  int AllocateReplenishment(std::string_view caption, std::string_view text, bool halfSteps, int maximum) override;
  int AllocateStandby(std::string_view caption, std::string_view text, int maximum) override;
  void BattleShow(int, int) override { ++BattleShows; }
  void BattleSides(const BattleView& view) override { LastSides = view; }
  void BattleAttackArrow(int, int, int) override { ++AttackArrows; }
  void BattleRetreatArrow(int direction, int x, int y) override;
  void BattleRefresh() override {}
  void BattleMessage(std::string_view text) override;
  int BattleChooseReinforcement(int panel, const UnitList& candidates) override;
  void BattleClose() override { ++BattleCloses; }
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
  void Happened(const Event& event) override;

  // Texts of the log entries of one kind, in order.
  std::vector<std::string> TextsOf(std::string_view kind) const;

 private:
  int Next(int fallback);
  // A question's answer from the script: 1 for the first button, 0 for the second.
  int ScriptAnswer(std::string_view caption);
  // An allocation window's value from the script: -1 for Cancel.
  int ScriptValue(std::string_view caption, bool halfSteps, int maximum);
};

}  // namespace milgant
