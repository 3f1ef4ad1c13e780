#include "mainwindow/WindowUi.h"

#include <QMessageBox>
#include <QString>

#include "combat/SLG_Unit4.h"
#include "dialogs/SLG_Unit2.h"
#include "dialogs/SLG_Unit8.h"
#include "game/Game.h"
#include "game/HexGrid.h"
#include "game/Text.h"
#include "mainwindow/Forms.h"
#include "mainwindow/SLG_Unit1.h"
#include "text/SLG_Unit7.h"
#include "turn/SLG_Unit3.h"
#include "turn/UnitWindow.h"
#include "turn/Victory.h"

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
  return forms_.Form2->Question(Q(caption), Q(text));
}

bool WindowUi::AskChoice(std::string_view caption, std::string_view text, std::string_view first,
                         std::string_view second) {
  if (Closing()) return false;
  TForm1::BusyScope busy(*forms_.Form1);
  return forms_.Form2->CustomQuestion(Q(caption), Q(text), Q(first), Q(second));
}

int WindowUi::ChooseSide(std::string_view caption, std::string_view text, std::string_view first,
                         std::string_view second) {
  if (Closing()) return -1;
  int side = -1;
  {
    TForm1::BusyScope busy(*forms_.Form1);
    side = forms_.Form8->Choose(Q(caption), Q(text), Q(first), Q(second));
  }
  // With the side chosen the title gives way to the map, the panel and the scroll bars.
  if (side != -1) forms_.Form1->ShowPlayView();
  return side;
}

void WindowUi::MessageBox(std::string_view text) {
  if (Closing()) return;
  TForm1::BusyScope busy(*forms_.Form1);
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("ミルガント"), Q(text), QMessageBox::Ok, forms_.Form1);
  box.exec();
}

void WindowUi::RunUnitWindow(UnitWindow& window) {
  // Until the unit window has its own face, the rows it lists are told in a note and the
  // window closes without a choice.
  if (!Closing()) {
    QString rows;
    for (int r = 0; r < window.RowCount(); ++r) rows += QString::fromStdString(window.RowText(window.RowSlot(r))) + QLatin1Char('\r');
    Note("ユニット情報", rows.toStdString());
  }
  window.ForceCancel();
}

int WindowUi::AllocateReplenishment(std::string_view caption, std::string_view text, bool halfSteps, int maximum) {
  (void)halfSteps;
  (void)maximum;
  Note(caption, text);
  return -1;
}

int WindowUi::AllocateStandby(std::string_view caption, std::string_view text, int maximum) {
  (void)maximum;
  Note(caption, text);
  return -1;
}

// --- the battle window ---------------------------------------------------------------------

void WindowUi::BattleShow(int x, int y) {
  if (!Closing()) forms_.Form4->BattleShow(x, y);
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
  forms_.Form4->BattleMessage(text);
}

int WindowUi::BattleChooseReinforcement(int panel, const UnitList& candidates) {
  if (Closing()) return -1;
  TForm1::BusyScope busy(*forms_.Form1);
  return forms_.Form4->BattleChooseReinforcement(panel, candidates);
}

void WindowUi::BattleClose() { forms_.Form4->BattleClose(); }

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
  TForm1::BusyScope busy(*forms_.Form1);
  forms_.Form7->TellEnding(winningSide, homeCityFell);
}

bool WindowUi::IsClosing() { return Closing(); }

}  // namespace milgant
