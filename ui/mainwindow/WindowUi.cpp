#include "ui/mainwindow/WindowUi.h"

#include <QListWidget>
#include <QMessageBox>
#include <QString>

#include "ui/battlewindow/SLG_Unit4.h"
#include "ui/dialogs/SLG_Unit2.h"
#include "ui/dialogs/SLG_Unit5.h"
#include "ui/dialogs/SLG_Unit8.h"
#include "ui/dialogs/SLG_Unit9.h"
#include "core/game/InputScript.h"
#include "core/game/Game.h"
#include "core/game/HexGrid.h"
#include "core/game/Text.h"
#include "ui/mainwindow/Forms.h"
#include "ui/mainwindow/Guidance.h"
#include "ui/mainwindow/SLG_Unit1.h"
#include "ui/text/SLG_Unit7.h"
#include "ui/unitwindow/SLG_Unit3.h"
#include "core/turn/UnitWindow.h"
#include "core/rules/Victory.h"

namespace milgant {
namespace {

QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace

bool WindowUi::Closing() const { return forms_.Form1 == nullptr || forms_.Form1->Closing; }

void WindowUi::Note(std::string_view caption, std::string_view text) {
  if (Closing()) return;
  TForm1::BusyScope busy(*forms_.Form1);
  forms_.Form2->Message(Q(caption), Q(text));
}

bool WindowUi::Ask(std::string_view caption, std::string_view text) {
  if (Closing()) return false;
  TForm1::BusyScope busy(*forms_.Form1);
  const bool first = forms_.Form2->Question(Q(caption), Q(text));
  lastAnswer_ = first;
  if (!Closing()) Record(Input::Of(InputKind::Answer, first ? 1 : 0));
  return first;
}

bool WindowUi::AskChoice(std::string_view caption, std::string_view text, std::string_view first,
                         std::string_view second) {
  if (Closing()) return false;
  TForm1::BusyScope busy(*forms_.Form1);
  const bool one = forms_.Form2->CustomQuestion(Q(caption), Q(text), Q(first), Q(second));
  if (!Closing()) Record(Input::Of(InputKind::Answer, one ? 1 : 0));
  return one;
}

int WindowUi::ChooseSide(std::string_view caption, std::string_view text, std::string_view first,
                         std::string_view second) {
  if (Closing()) return -1;
  int side = -1;
  {
    TForm1::BusyScope busy(*forms_.Form1);
    side = forms_.Form8->Choose(Q(caption), Q(text), Q(first), Q(second));
  }
  if (side != -1) Record(Input::Of(InputKind::Answer, side == 0 ? 1 : 0));
  // With the side chosen the title gives way to the map, the panel and the scroll bars.
  if (side != -1) {
    forms_.Form1->ShowPlayView();
    // The last game's units leave the list; the new game's come with its first drawing.
    forms_.Form1->ListBox1->clear();
    forms_.Form1->PanelListCount = 0;
  }
  return side;
}

void WindowUi::MessageBox(std::string_view text) {
  if (Closing()) return;
  TForm1::BusyScope busy(*forms_.Form1);
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("ミルガント"), Q(text), QMessageBox::Ok, forms_.Form1);
  box.exec();
}

void WindowUi::Record(const Input& in) {
  if (Recorder != nullptr) Recorder->Write(in);
}

void WindowUi::RunUnitWindow(UnitWindow& window) {
  if (Closing()) {
    window.ForceCancel();
    return;
  }
  const int stateBefore = forms_.Form1->game().GameState;
  {
    TForm1::BusyScope busy(*forms_.Form1);
    forms_.Form3->SetCounters(&forms_.Form1->Pictures().Counters);
    forms_.Form3->SetGame(&forms_.Form1->game());
    forms_.Form3->Run(window, Recorder);
  }
  // A command the map click will drop in silence is explained before it is dropped.
  if (!Closing() && !window.Cancelled() && window.Row() >= 0 && window.Row() < window.RowCount())
    forms_.Form1->FlashHint(CommandRefusal(forms_.Form1->game(), stateBefore, window.RowSlot(window.Row())));
}

int WindowUi::AllocateReplenishment(std::string_view caption, std::string_view text, bool halfSteps, int maximum) {
  if (Closing()) return -1;
  TForm1::BusyScope busy(*forms_.Form1);
  int value = 0;
  const bool ok = forms_.Form5->Allocate(Q(caption), Q(text), halfSteps, maximum, value);
  if (!Closing()) Record(ok ? Input::Of(InputKind::Value, forms_.Form5->Position()) : Input::Of(InputKind::ValueCancel));
  return ok ? value : -1;
}

int WindowUi::AllocateStandby(std::string_view caption, std::string_view text, int maximum) {
  if (Closing()) return -1;
  TForm1::BusyScope busy(*forms_.Form1);
  int value = 0;
  const bool ok = forms_.Form9->Allocate(Q(caption), Q(text), false, maximum, value);
  if (!Closing()) Record(ok ? Input::Of(InputKind::Value, forms_.Form9->Position()) : Input::Of(InputKind::ValueCancel));
  return ok ? value : -1;
}

// --- the battle window ---------------------------------------------------------------------

void WindowUi::BattleShow(int x, int y) {
  if (Closing()) return;
  // The map behind the battle shows where the computer's undrawn walks ended.
  forms_.Form1->CatchUpWalks();
  forms_.Form4->BattleShow(x, y);
}

void WindowUi::BattleSides(const BattleView& view) {
  if (!Closing()) forms_.Form4->BattleSides(view);
}

void WindowUi::BattleAttackArrow(int direction, int x, int y) {
  if (!Closing()) forms_.Form4->BattleAttackArrow(direction, x, y);
}

void WindowUi::BattleRetreatArrow(int direction, int x, int y) {
  if (!Closing()) forms_.Form4->BattleRetreatArrow(direction, x, y);
}

void WindowUi::BattleRefresh() {
  if (!Closing()) forms_.Form4->BattleRefresh();
}

void WindowUi::BattleMessage(std::string_view text) {
  if (Closing()) return;
  TForm1::BusyScope busy(*forms_.Form1);
  forms_.Form4->MessagePace = BattleTextPace(forms_.Form1->Settings(), forms_.Form1->ComputersPhase());
  forms_.Form4->BattleMessage(text);
}

int WindowUi::BattleChooseReinforcement(int panel, const UnitList& candidates) {
  if (Closing()) return -1;
  TForm1::BusyScope busy(*forms_.Form1);
  const int row = forms_.Form4->BattleChooseReinforcement(panel, candidates);
  if (candidates.Count > 0 && !Closing())
    Record(row >= 0 ? Input::Of(InputKind::Reinforce, row) : Input::Of(InputKind::ReinforceNone));
  return row;
}

void WindowUi::BattleClose() { forms_.Form4->BattleClose(); }

void WindowUi::BattleOver(const BattleOutcome& outcome) {
  if (!Closing()) forms_.Form4->BattleOver(outcome);
}

// --- the map and the panels ------------------------------------------------------------------

void WindowUi::RedrawMap() {
  if (!Closing()) forms_.Form1->RedrawMap();
}

void WindowUi::RedrawAround(int x, int y) {
  if (!Closing()) forms_.Form1->RedrawAround(x, y);
}

void WindowUi::MoveStep(int unitSlot, int x, int y) {
  (void)unitSlot;
  if (!Closing()) forms_.Form1->MoveStep(x, y);
}

void WindowUi::RefreshStatusLine() {
  if (!Closing()) forms_.Form1->RefreshStatusLine();
}

void WindowUi::RefreshSidePanel() {
  if (!Closing()) forms_.Form1->RefreshUnitList();
}

void WindowUi::PhaseButtonsChanged() { forms_.Form3->SetButtons(forms_.Form1->game()); }

void WindowUi::MusicStart() {
  if (!Closing()) forms_.Form1->PlayMusic(QStringLiteral("kknc_gm.mid"));
}

void WindowUi::MusicStop() { forms_.Form1->StopMusic(); }

void WindowUi::EndingStory(int winningSide) {
  if (Closing()) return;
  const Game& g = forms_.Form1->game();
  const bool homeCityFell = g.H(kHomeCityX, kHomeCityY).Terrain == kHomeCityLostTerrain;
  {
    TForm1::BusyScope busy(*forms_.Form1);
    forms_.Form7->TellEnding(winningSide, homeCityFell);
  }
  if (Closing()) return;
  forms_.Form1->GameOver(winningSide);
  // The story told, the history of the war is offered. Not an input of the game: the answer
  // changes nothing of it and is not recorded.
  TForm1::BusyScope busy(*forms_.Form1);
  if (forms_.Form2->CustomQuestion(QStringLiteral("戦史"), QStringLiteral("戦いの歩みを戦史で振り返りますか？"),
                                   QStringLiteral("開く"), QStringLiteral("閉じる"))) {
    forms_.Form1->HistoryClick();
  }
}

bool WindowUi::IsClosing() { return Closing(); }

void WindowUi::Happened(const Event& event) { forms_.Form1->RecordEvent(event); }

}  // namespace milgant
