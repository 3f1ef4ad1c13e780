// TForm4: the battle window. Both sides' totals and counters, the map around the battle hex with
// the attack and retreat arrows, every battle message typed into its text box and paced by the
// player's clicks, and the two reinforcement lists. The battle rules run in the core and reach
// this window through the battle calls of the Ui, which the main window forwards here.
#pragma once

#include <QImage>
#include <QWidget>

#include <array>
#include <string_view>

#include "core/game/Ui.h"
#include "ui/text/TextPace.h"

class QEventLoop;
class QLabel;
class QListWidget;
class QPushButton;

namespace milgant {

struct Game;
class MapRenderer;
class TSerifBox;
namespace pictures {
struct MainWindowPictures;
}

class TForm4 : public QWidget {
  Q_OBJECT

 public:
  explicit TForm4(QWidget* parent = nullptr);
  ~TForm4() override;

  // Set once at start-up by the main window: the game it reads names and counters from, the
  // renderer whose map picture the excerpt is cut from, the image lists, and itself for placing
  // the window. Any may be null (the excerpt then stays black).
  void SetSources(const Game* game, MapRenderer* renderer, const pictures::MainWindowPictures* pics,
                  QWidget* mainWindow);
  // Loads form4.JPG from the working folder; false when it is missing or damaged.
  bool LoadBackground(const QString& workingFolder);

  // --- the battle calls --------------------------------------------------------------------
  // Shows the window centred over the main window, 20 pixels low, with the map around (x, y).
  void BattleShow(int x, int y);
  // Types the text (UTF-8, "\r" between lines) at MessagePace; returns after the player's click
  // at its end, or at a pace other than the normal one once its hold has passed. The battle's
  // last message, under its summary, always waits for the click.
  void BattleMessage(std::string_view text);
  // The pace of the next messages (the main window sets it from the player's settings).
  TextPace MessagePace = TextPace::Normal;
  // Both sides' labels and counters.
  void BattleSides(const BattleView& view);
  // An attack arrow in direction d inside the hex (x, y) of the attacking unit.
  void BattleAttackArrow(int direction, int x, int y);
  // A retreat arrow on the candidate hex (x, y), a step in direction d from the retreating stack.
  void BattleRetreatArrow(int direction, int x, int y);
  // The map excerpt redrawn without arrows.
  void BattleRefresh();
  // The human side's reinforcement choice in panel 0 (attacker, ListBox1) or 1 (defender,
  // ListBox2), one row per candidate slot: the row chosen with "援軍選択", or -1 for "援軍拒否"
  // and at once, without waiting, when there is no candidate.
  int BattleChooseReinforcement(int panel, const UnitList& candidates);
  void BattleClose();
  // The battle is decided: a box over the map sums up both sides' losses and what happened.
  void BattleOver(const BattleOutcome& outcome);
  // The summary's lines, as the box shows them.
  QString SummaryText(const BattleOutcome& outcome) const;

  // The hex last pressed on the map excerpt, (-1, -1) before any.
  int LastClickX() const { return lastClickX_; }
  int LastClickY() const { return lastClickY_; }
  // The battle hex on screen.
  int BattleX() const { return battleX_; }
  int BattleY() const { return battleY_; }
  // Ends a reinforcement wait and any text wait (the program is closing).
  void Abort();

  // --- components ---------------------------------------------------------------------------
  QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Label8, *Label9,
      *Label10, *Label11, *Label12, *Label13, *Label14, *Label15, *Label16, *Label17, *Label18,
      *Label19, *Label20, *Label21, *Label22;
  QLabel* Image1;   // map excerpt, 300 x 360
  QLabel* Image4;   // attacker counters, 161 x 361
  QLabel* Image5;   // defender counters, 161 x 377
  TSerifBox* SerifBox1;
  QListWidget *ListBox1, *ListBox2;
  QPushButton *Button1, *Button2, *Button3, *Button4;
  // Under the text box while a reinforcement may be chosen.
  QLabel* ChoiceHint;
  // Over the lower part of the map once the battle is decided.
  QLabel* Summary;

  // Reinforcement state of the choice in progress.
  std::array<int, 141> ReinforcementCandidates{};
  int ReinforcementCandidateCount = 0;
  int ReinforcementUnit = -1;   // slot of the row chosen
  int ReinforcementRow = -1;
  int ReinforcementChoice = 0;  // 0 waiting, 1 援軍選択, 2 援軍拒否

 protected:
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Enter chooses and Escape refuses while a reinforcement may be chosen.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void FormShow();
  void ShowFresh();
  void ClearSidePanels();
  void DrawUnitIcon(int position, int slot, bool attacker);
  void DrawMapExcerpt(int x, int y);
  void ShowExcerpt();
  // A picture of `units` in the window's units with k_ pixels to a unit.
  QImage Canvas(QSize units) const;
  void SerifBox1Paint(TSerifBox* box, QPainter& p);
  void SerifBox1Click(TSerifBox* box);
  void Button1Click();
  void Button2Click();
  void Button3Click();
  void Button4Click();
  void Image1MouseDown(QPoint at);
  void SetOnlyChoiceEnabled(bool choosing, int panel);
  void ShowChoiceGuide(bool on, int panel);
  bool ChoiceKey(QEvent* event);

  const Game* game_ = nullptr;
  MapRenderer* renderer_ = nullptr;
  const pictures::MainWindowPictures* pics_ = nullptr;
  QWidget* mainWindow_ = nullptr;
  int k_ = 1;             // pixels to a unit of the pictures drawn here
  QImage JPEGImage1;      // window background
  QImage Image2;          // text background tile
  QImage excerpt_;        // the map excerpt without arrows
  QImage shown_;          // the excerpt with this round's arrows
  QImage panel4_, panel5_;
  int battleX_ = -1, battleY_ = -1;
  int lastClickX_ = -1, lastClickY_ = -1;
  bool aborted_ = false;
  bool choosing_ = false;
  QEventLoop* choiceLoop_ = nullptr;
  // Every unit shown in this battle, with its steps when it was first shown.
  struct Fighter {
    int Slot = -1;
    bool Attacker = false;
    int Steps = 0;
  };
  std::array<Fighter, 141> fighters_{};
  int fighterCount_ = 0;
  int attackerSide_ = -1, defenderSide_ = -1;
};

}  // namespace milgant
