// The rules' screen in the windows: notes and questions in TForm2, the side choice in TForm8,
// the map and panels in TForm1, the battle in TForm4, the ending in TForm7. Every wait keeps the
// windows responsive and shuts the game's own commands out until it ends; once the program is
// closing nothing is shown and every question is answered "no".
#pragma once

#include "core/game/Ui.h"

namespace milgant {

struct Forms;
struct Input;
class InputRecorder;

class WindowUi : public Ui {
 public:
  explicit WindowUi(Forms& forms) : forms_(forms) {}

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

  void BattleShow(int x, int y) override;
  void BattleSides(const BattleView& view) override;
  void BattleAttackArrow(int direction, int x, int y) override;
  void BattleRetreatArrow(int direction, int x, int y) override;
  void BattleRefresh() override;
  void BattleMessage(std::string_view text) override;
  int BattleChooseReinforcement(int panel, const UnitList& candidates) override;
  void BattleClose() override;
  void BattleOver(const BattleOutcome& outcome) override;

  void RedrawMap() override;
  void RedrawAround(int x, int y) override;
  void MoveStep(int unitSlot, int x, int y) override;
  void RefreshStatusLine() override;
  void RefreshSidePanel() override;
  void PhaseButtonsChanged() override;
  void Happened(const Event& event) override;
  void MusicStart() override;
  void MusicStop() override;
  void EndingStory(int winningSide) override;
  bool IsClosing() override;

  // The answer to the last yes/no question (true for the first button).
  bool LastAnswer() const { return lastAnswer_; }

  // When set (milgant --record), every answer the player gives in a window is written to it.
  InputRecorder* Recorder = nullptr;

 private:
  bool Closing() const;
  void Record(const Input& in);
  Forms& forms_;
  bool lastAnswer_ = false;
};

}  // namespace milgant
