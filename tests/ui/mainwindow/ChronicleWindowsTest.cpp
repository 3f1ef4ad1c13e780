// The war's chronicle in the game window: the log follows the game and leads to the map, the
// history draws both armies turn by turn, and the chronicle goes and comes with the saves.
// MILGANT_SCREENSHOTS=<folder> also writes the two windows as PNGs.
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineSeries>
#include <QListWidget>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableWidget>

#include "GuiFixture.h"
#include "core/game/Chronicle.h"
#include "ui/chronicle/ChronicleWindows.h"

namespace milgant::test {
namespace {

// The game's generator starts from the clock; a fixed seed makes the opening the same every run
// (this one has ソルカ軍 fight in its first phase).
class ChronicleWindowsTest : public GuiTest {
 protected:
  void StartSeededGame(int side) {
    game->Rng.SetSeed(20261208);
    StartNewGame(side);
  }
};


std::vector<QString> Texts(const QListWidget* list) {
  std::vector<QString> out;
  for (int i = 0; i < list->count(); ++i) out.push_back(list->item(i)->text());
  return out;
}

TEST_F(ChronicleWindowsTest, TheLogFollowsTheGameFiltersAndLeadsToTheMap) {
  StartSeededGame(0);  // ヴァルネ軍: the opening battles and ソルカ軍's first phase are played at once
  form1->LogItem->trigger();
  TLogWindow* log = form1->LogWindow;
  ASSERT_NE(log, nullptr);
  EXPECT_TRUE(log->isVisible());
  EXPECT_FALSE(log->isModal());
  const auto all = Texts(log->List);
  ASSERT_GT(all.size(), 10u);
  EXPECT_EQ(all[0], QStringLiteral("━━ 第1ターン ━━"));
  EXPECT_EQ(all[1], QStringLiteral("― 第1ターン ソルカ軍 コンピュータのフェイズ"));
  // Every event of the chronicle but the phase headings has a line.
  std::size_t events = 0;
  for (const Event& e : form1->War().Events) events += e.Kind == EventKind::PhaseBegins ? 0 : 1;
  std::size_t lines = 0;
  for (const QString& t : all) lines += t.startsWith(QStringLiteral("　")) ? 1 : 0;
  EXPECT_EQ(lines, events);
  Shot(log, QStringLiteral("chronicle-log"));

  // Battles only.
  for (int k : {0, 2, 3}) log->KindFilters[static_cast<std::size_t>(k)]->setChecked(false);
  int battles = 0;
  for (const QString& t : Texts(log->List)) {
    if (!t.startsWith(QStringLiteral("　"))) continue;
    ++battles;
    EXPECT_TRUE(t.contains(QStringLiteral("の戦い（"))) << t.toStdString();
  }
  EXPECT_GT(battles, 0);
  // ヴァルネ軍's deeds only, all kinds: no move of ソルカ軍's is left.
  for (QCheckBox* box : log->KindFilters) box->setChecked(true);
  log->SideFilter->setCurrentIndex(1);
  for (const QString& t : Texts(log->List)) EXPECT_FALSE(t.contains(QStringLiteral("へ移動")) && t.contains(QStringLiteral("ソルカ"))) << t.toStdString();

  // A click on an entry with a hex brings the hex into view.
  log->SideFilter->setCurrentIndex(0);
  QListWidgetItem* withHex = nullptr;
  for (int i = 0; i < log->List->count() && withHex == nullptr; ++i) {
    if (log->List->item(i)->data(Qt::UserRole).isValid()) withHex = log->List->item(i);
  }
  ASSERT_NE(withHex, nullptr);
  const QPoint hex = withHex->data(Qt::UserRole).toPoint();
  emit log->List->itemClicked(withHex);
  EXPECT_EQ(game->ScrollX, std::clamp(hex.x() * 60 - 240, 0, form1->ScrollBar1->maximum()));
  EXPECT_EQ(game->ScrollY, std::clamp(hex.y() * 44 - 176, 0, form1->ScrollBar2->maximum()));
  Shot(form1, QStringLiteral("chronicle-hex-on-the-map"));

  // The list follows the game: the next phase comes in at the bottom.
  const int before = log->List->count();
  form1->N1->trigger();
  ASSERT_EQ(log->List->count(), before + 1);
  EXPECT_EQ(log->List->item(before)->text(), QStringLiteral("― 第1ターン ヴァルネ軍 編成フェイズ"));
}

TEST_F(ChronicleWindowsTest, TheHistoryDrawsBothArmiesTurnByTurnWithTheirNumbers) {
  StartSeededGame(0);
  for (int i = 0; i < 6; ++i) form1->N1->trigger();  // two more turns
  ASSERT_EQ(game->Turn, 3);
  form1->HistoryItem->trigger();
  THistoryWindow* h = form1->HistoryWindow;
  ASSERT_NE(h, nullptr);
  ASSERT_EQ(h->Tabs->count(), 5);
  EXPECT_EQ(h->Tabs->tabText(0), QStringLiteral("ステップ"));
  EXPECT_EQ(h->Tabs->tabText(3), QStringLiteral("勝利得点"));
  const auto points = THistoryWindow::TurnPoints(*game, form1->War());
  auto* steps = qobject_cast<QChartView*>(h->Tabs->widget(0));
  ASSERT_NE(steps, nullptr);
  const auto series = steps->chart()->series();
  ASSERT_EQ(series.size(), 2);
  auto* side1 = qobject_cast<QLineSeries*>(series[1]);
  ASSERT_EQ(points.size(), 3u);
  ASSERT_EQ(side1->count(), 3);
  EXPECT_EQ(side1->at(0).x(), 1);
  EXPECT_EQ(side1->at(2).x(), 3);
  // The last point is the army as it stands.
  EXPECT_EQ(side1->at(side1->count() - 1).y(), TallyArmy(*game, 1).Steps);
  auto* vp = qobject_cast<QChartView*>(h->Tabs->widget(3));
  ASSERT_EQ(vp->chart()->series().size(), 2);  // the points and the winning line at 16
  EXPECT_EQ(qobject_cast<QLineSeries*>(vp->chart()->series()[1])->at(0).y(), 16);

  const auto s = Summarise(form1->War());
  ASSERT_EQ(h->Table->rowCount(), 11);
  EXPECT_EQ(h->Table->item(0, 1)->text(), QString::number(s[1].BattlesAttacked));
  EXPECT_EQ(h->Table->item(1, 0)->text(), QString::number(s[0].BattlesDefended));
  EXPECT_EQ(h->Table->item(7, 1)->text(), QString::number(s[1].CastlesTaken));
  Shot(h, QStringLiteral("chronicle-history-steps"));
  h->Tabs->setCurrentIndex(4);
  Shot(h, QStringLiteral("chronicle-history-table"));
}

TEST_F(ChronicleWindowsTest, TheChronicleGoesAndComesWithTheSaves) {
  StartSeededGame(0);
  const std::size_t kept = form1->War().Events.size();
  ASSERT_GT(kept, 0u);
  form1->SaveItems[1]->trigger();
  const QString file = dir.filePath(QStringLiteral("Save2.chronicle"));
  ASSERT_TRUE(QFile::exists(file));

  StartNewGame(1);  // a new game starts a chronicle of its own
  EXPECT_NE(form1->War().Events.size(), kept);
  form1->LoadItems[1]->trigger();
  EXPECT_EQ(form1->War().Events.size(), kept);

  // A damaged chronicle never blocks the load: the game comes, the record starts afresh.
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write("milgant-chronicle 1\nstart 0\nMoved turn=");
  f.close();
  StartNewGame(1);
  form1->LoadItems[1]->trigger();
  EXPECT_EQ(game->PlayerSide, 0);
  EXPECT_TRUE(form1->War().Events.empty());
  EXPECT_EQ(form1->War().StartTurn, game->Turn);
  EXPECT_TRUE(form1->Panel1->text().contains(QStringLiteral("戦況記録が壊れていた"))) << form1->Panel1->text().toStdString();

  // Without one, the same.
  QFile::remove(file);
  StartNewGame(1);
  form1->LoadItems[1]->trigger();
  EXPECT_TRUE(form1->War().Events.empty());
  EXPECT_FALSE(form1->Panel1->text().contains(QStringLiteral("戦況記録が壊れていた")));
}

}  // namespace
}  // namespace milgant::test
