// The two windows of the war's chronicle, both beside the main window and never in the way of
// play: 戦況記録, the log of every deed grouped by turn and phase, newest at the bottom, with
// filters by army and kind and a click that shows an event's hex on the map; and 戦史, the
// history of the war turn by turn (steps, combat power, castles, victory points) with each
// army's numbers.
#pragma once

#include <QWidget>

#include <array>
#include <functional>

#include "core/game/Chronicle.h"

class QCheckBox;
class QComboBox;
class QListWidget;
class QListWidgetItem;
class QTableWidget;
class QTabWidget;

namespace milgant {

struct Game;

class TLogWindow : public QWidget {
 public:
  explicit TLogWindow(QWidget* parent = nullptr);
  // The game and chronicle shown; both outlive the window's use of them.
  void SetSource(const Game* g, const Chronicle* c);
  void Rebuild();
  // One more event at the bottom; the list follows it when it was at the bottom already.
  void Append(const Event& e);
  // Called with the hex of an entry clicked.
  std::function<void(int x, int y)> OnShowHex;

  QComboBox* SideFilter = nullptr;              // 両軍 / ヴァルネ軍 / ソルカ軍
  std::array<QCheckBox*, 4> KindFilters{};      // 移動・編成, 戦闘, 城, 損害
  QListWidget* List = nullptr;

 private:
  bool Shown(const Event& e) const;
  void Add(const Event& e);
  void EntryClicked(QListWidgetItem* item);

  const Game* g_ = nullptr;
  const Chronicle* c_ = nullptr;
  int lastTurn_ = -1;
};

class THistoryWindow : public QWidget {
 public:
  explicit THistoryWindow(QWidget* parent = nullptr);
  void SetSource(const Game* g, const Chronicle* c);
  void Rebuild();

  QTabWidget* Tabs = nullptr;      // ステップ, 戦闘力, 城, 勝利得点, 戦績
  QTableWidget* Table = nullptr;   // each army's numbers

  // Per turn, for the charts: turn, and both armies' tallies and ソルカ軍's victory points.
  struct TurnPoint {
    int Turn = 0;
    std::array<ArmyTally, 2> Tally{};
    int VictoryPoints = 0;
  };
  static std::vector<TurnPoint> TurnPoints(const Game& g, const Chronicle& c);

 private:
  const Game* g_ = nullptr;
  const Chronicle* c_ = nullptr;
};

}  // namespace milgant
