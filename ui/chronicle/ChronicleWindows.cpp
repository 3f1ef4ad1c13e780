#include "ui/chronicle/ChronicleWindows.h"

#include <QBrush>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QListWidget>
#include <QPainter>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QValueAxis>
#include <QVBoxLayout>

#include <algorithm>

#include "core/game/Game.h"

namespace milgant {
namespace {

constexpr int kHexRole = Qt::UserRole;        // QPoint of the entry's hex, when it has one
const QColor kSideColours[2] = {QColor(40, 70, 170), QColor(170, 40, 40)};

QString Q(const std::string& s) { return QString::fromStdString(s); }

// The hex an entry leads to on the map: where it happened.
bool EventHex(const Event& e, int& x, int& y) {
  if (e.Kind == EventKind::Moved && e.ToX >= 0) {
    x = e.ToX;
    y = e.ToY;
    return true;
  }
  x = e.X;
  y = e.Y;
  return x >= 0 && y >= 0 && x < kMapSize && y < kMapSize;
}

}  // namespace

// --- 戦況記録 ----------------------------------------------------------------------------------

TLogWindow::TLogWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setWindowTitle(QStringLiteral("戦況記録"));
  resize(560, 460);
  auto* layout = new QVBoxLayout(this);
  auto* filters = new QHBoxLayout;
  SideFilter = new QComboBox(this);
  SideFilter->addItems({QStringLiteral("両軍"), QStringLiteral("ヴァルネ軍"), QStringLiteral("ソルカ軍")});
  filters->addWidget(SideFilter);
  const char* kinds[] = {"移動・編成", "戦闘", "城", "損害"};
  for (std::size_t i = 0; i < KindFilters.size(); ++i) {
    KindFilters[i] = new QCheckBox(QString::fromUtf8(kinds[i]), this);
    KindFilters[i]->setChecked(true);
    filters->addWidget(KindFilters[i]);
    connect(KindFilters[i], &QCheckBox::toggled, this, [this] { Rebuild(); });
  }
  filters->addStretch();
  layout->addLayout(filters);
  List = new QListWidget(this);
  List->setWordWrap(true);
  layout->addWidget(List);
  auto* hint = new QLabel(QStringLiteral("項目をクリックすると、その場所を地図に示します。"), this);
  layout->addWidget(hint);
  connect(SideFilter, &QComboBox::currentIndexChanged, this, [this] { Rebuild(); });
  connect(List, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { EntryClicked(item); });
}

void TLogWindow::SetSource(const Game* g, const Chronicle* c) {
  g_ = g;
  c_ = c;
  Rebuild();
}

bool TLogWindow::Shown(const Event& e) const {
  const int group = EventGroup(e);
  if (group < 4 && !KindFilters[static_cast<std::size_t>(group)]->isChecked()) return false;
  const int side = SideFilter->currentIndex() - 1;
  if (side < 0 || group == 4) return true;
  // A battle belongs to both armies; the rest to the side that did it.
  if (e.Kind == EventKind::Battle) return true;
  return e.Side == side;
}

void TLogWindow::Add(const Event& e) {
  if (e.Kind == EventKind::PhaseBegins) {
    // A heading per turn, then one per phase.
    if (e.Turn != lastTurn_) {
      auto* turn = new QListWidgetItem(QStringLiteral("━━ 第%1ターン ━━").arg(e.Turn), List);
      turn->setFlags(Qt::ItemIsEnabled);
      QFont f = turn->font();
      f.setBold(true);
      turn->setFont(f);
      lastTurn_ = e.Turn;
    }
    auto* phase = new QListWidgetItem(QStringLiteral("― ") + Q(EventLine(*g_, e)), List);
    phase->setFlags(Qt::ItemIsEnabled);
    phase->setForeground(QBrush(Qt::darkGray));
    return;
  }
  if (!Shown(e)) return;
  auto* item = new QListWidgetItem(QStringLiteral("　") + Q(EventLine(*g_, e)), List);
  if (e.Side == 0 || e.Side == 1) item->setForeground(QBrush(kSideColours[e.Side]));
  int x = 0, y = 0;
  if (EventHex(e, x, y)) item->setData(kHexRole, QPoint(x, y));
}

void TLogWindow::Rebuild() {
  List->clear();
  lastTurn_ = -1;
  if (g_ == nullptr || c_ == nullptr) return;
  for (const Event& e : c_->Events) Add(e);
  List->scrollToBottom();
}

void TLogWindow::Append(const Event& e) {
  if (g_ == nullptr) return;
  QScrollBar* bar = List->verticalScrollBar();
  const bool atBottom = bar->value() >= bar->maximum() - 2;
  Add(e);
  if (atBottom) List->scrollToBottom();
}

void TLogWindow::EntryClicked(QListWidgetItem* item) {
  const QVariant hex = item->data(kHexRole);
  if (!hex.isValid() || !OnShowHex) return;
  OnShowHex(hex.toPoint().x(), hex.toPoint().y());
}

// --- 戦史 --------------------------------------------------------------------------------------

std::vector<THistoryWindow::TurnPoint> THistoryWindow::TurnPoints(const Game& g, const Chronicle& c) {
  std::vector<TurnPoint> points;
  int vp = 0;
  bool knowVp = false;
  for (const Event& e : c.Events) {
    if (e.Kind == EventKind::VictoryPoints) {
      vp = e.Value2;
      knowVp = true;
    }
    // The first phase of each turn gives the turn's point.
    if (e.Kind == EventKind::PhaseBegins && (points.empty() || points.back().Turn != e.Turn)) {
      points.push_back({e.Turn, e.Tally, vp});
    }
  }
  // Points before the first change are unknown in a chronicle begun at a load: the game's
  // own points now are the best there is, and the chart's last point is the game as it stands.
  if (!knowVp) {
    for (TurnPoint& p : points) p.VictoryPoints = g.VictoryPoints;
  }
  TurnPoint now{g.Turn, {TallyArmy(g, 0), TallyArmy(g, 1)}, g.VictoryPoints};
  if (!points.empty() && points.back().Turn == now.Turn) {
    points.back() = now;
  } else {
    points.push_back(now);
  }
  return points;
}

THistoryWindow::THistoryWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setWindowTitle(QStringLiteral("戦史"));
  resize(640, 480);
  auto* layout = new QVBoxLayout(this);
  Tabs = new QTabWidget(this);
  layout->addWidget(Tabs);
  Table = new QTableWidget(this);
}

void THistoryWindow::SetSource(const Game* g, const Chronicle* c) {
  g_ = g;
  c_ = c;
  Rebuild();
}

namespace {

QChartView* LineChart(const QString& title, const std::vector<THistoryWindow::TurnPoint>& points,
                      const std::function<int(const THistoryWindow::TurnPoint&, int)>& value, int sides,
                      int line = -1) {
  auto* chart = new QChart;
  chart->setTitle(title);
  int top = 1;
  int firstTurn = points.empty() ? 0 : points.front().Turn;
  int lastTurn = points.empty() ? 1 : points.back().Turn;
  for (int side = 0; side < sides; ++side) {
    auto* series = new QLineSeries;
    series->setName(sides == 1 ? QStringLiteral("ソルカ軍勝利得点") : side == 0 ? QStringLiteral("ヴァルネ軍") : QStringLiteral("ソルカ軍"));
    series->setColor(kSideColours[sides == 1 ? 1 : side]);
    series->setPointsVisible(true);  // a war of one turn is still a point
    for (const auto& p : points) {
      const int v = value(p, side);
      series->append(p.Turn, v);
      top = std::max(top, v);
    }
    chart->addSeries(series);
  }
  if (line >= 0) {
    auto* win = new QLineSeries;
    win->setName(QStringLiteral("勝利ライン %1").arg(line));
    win->setColor(Qt::darkGreen);
    win->append(firstTurn, line);
    win->append(std::max(lastTurn, firstTurn + 1), line);
    chart->addSeries(win);
    top = std::max(top, line + 2);
  }
  chart->createDefaultAxes();
  for (QAbstractAxis* a : chart->axes(Qt::Horizontal)) {
    auto* axis = static_cast<QValueAxis*>(a);
    axis->setRange(firstTurn, std::max(lastTurn, firstTurn + 1));
    axis->setTickCount(std::min(11, std::max(2, lastTurn - firstTurn + 1)));
    axis->setLabelFormat("%d");
    axis->setTitleText(QStringLiteral("ターン"));
  }
  for (QAbstractAxis* a : chart->axes(Qt::Vertical)) {
    auto* axis = static_cast<QValueAxis*>(a);
    axis->setRange(0, top + top / 10 + 1);
    axis->applyNiceNumbers();
    axis->setLabelFormat("%d");
  }
  auto* view = new QChartView(chart);
  view->setRenderHint(QPainter::Antialiasing);
  return view;
}

}  // namespace

void THistoryWindow::Rebuild() {
  while (Tabs->count() > 0) {
    QWidget* w = Tabs->widget(0);
    Tabs->removeTab(0);
    if (w != Table) delete w;
  }
  if (g_ == nullptr || c_ == nullptr) return;
  const auto points = TurnPoints(*g_, *c_);
  Tabs->addTab(LineChart(QStringLiteral("地図上のステップ"), points, [](const TurnPoint& p, int s) { return p.Tally[static_cast<std::size_t>(s)].Steps; }, 2),
               QStringLiteral("ステップ"));
  Tabs->addTab(LineChart(QStringLiteral("総戦闘力"), points, [](const TurnPoint& p, int s) { return p.Tally[static_cast<std::size_t>(s)].CombatPower; }, 2),
               QStringLiteral("戦闘力"));
  Tabs->addTab(LineChart(QStringLiteral("保持する城"), points, [](const TurnPoint& p, int s) { return p.Tally[static_cast<std::size_t>(s)].Castles; }, 2),
               QStringLiteral("城"));
  Tabs->addTab(LineChart(QStringLiteral("ソルカ軍勝利得点"), points, [](const TurnPoint& p, int) { return p.VictoryPoints; }, 1, 16),
               QStringLiteral("勝利得点"));

  const auto s = Summarise(*c_);
  const struct {
    const char* Name;
    std::function<QString(const WarSummary&)> Value;
  } rows[] = {
      {"攻撃した戦闘", [](const WarSummary& w) { return QString::number(w.BattlesAttacked); }},
      {"守った戦闘", [](const WarSummary& w) { return QString::number(w.BattlesDefended); }},
      {"勝った戦闘", [](const WarSummary& w) { return QString::number(w.BattlesWon); }},
      {"失ったステップ", [](const WarSummary& w) { return QString::number(w.StepsLost); }},
      {"与えたステップ", [](const WarSummary& w) { return QString::number(w.StepsInflicted); }},
      {"失った部隊", [](const WarSummary& w) { return QString::number(w.UnitsLost); }},
      {"討ち取った武将", [](const WarSummary& w) { return QString::number(w.GeneralsKilled); }},
      {"奪った城", [](const WarSummary& w) { return QString::number(w.CastlesTaken); }},
      {"失った城", [](const WarSummary& w) { return QString::number(w.CastlesLost); }},
      {"与えた打撃 / 期待値", [](const WarSummary& w) { return QStringLiteral("%1 / %2").arg(w.HitsDealt).arg(w.HitsExpected100 / 100.0, 0, 'f', 1); }},
      {"運", [](const WarSummary& w) {
         return w.HitsExpected100 > 0 ? QStringLiteral("%1%").arg(100.0 * w.HitsDealt * 100 / w.HitsExpected100, 0, 'f', 0) : QStringLiteral("―");
       }},
  };
  Table->clear();
  Table->setColumnCount(2);
  Table->setRowCount(static_cast<int>(std::size(rows)));
  Table->setHorizontalHeaderLabels({QStringLiteral("ヴァルネ軍"), QStringLiteral("ソルカ軍")});
  for (int r = 0; r < static_cast<int>(std::size(rows)); ++r) {
    Table->setVerticalHeaderItem(r, new QTableWidgetItem(QString::fromUtf8(rows[r].Name)));
    for (int side = 0; side < 2; ++side) {
      auto* item = new QTableWidgetItem(rows[r].Value(s[static_cast<std::size_t>(side)]));
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      item->setFlags(Qt::ItemIsEnabled);
      Table->setItem(r, side, item);
    }
  }
  Table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  Tabs->addTab(Table, QStringLiteral("戦績"));
}

}  // namespace milgant
