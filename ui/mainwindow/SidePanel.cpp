// The side panel (the unit list and one unit's details), the minimap and its clicks, and the
// status line.
#include "ui/mainwindow/SidePanel.h"

#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QListWidget>
#include <QScrollBar>

#include <algorithm>

#include "core/game/Game.h"
#include "core/game/HexGrid.h"
#include "core/game/Rounding.h"
#include "core/game/Text.h"
#include "ui/mainwindow/AttackAid.h"
#include "ui/mainwindow/Guidance.h"
#include "ui/mainwindow/SLG_Unit1.h"
#include "ui/widgets/MapRenderer.h"
#include "ui/widgets/TImage.h"

namespace milgant {
namespace {

QString Num(int n) { return QString::number(n); }
QString Name(const auto& shortString) { return QString::fromStdString(Cp932ToUtf8Lossy(shortString.View())); }
QString U8(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace

int ShownCombatPower(const Unit& u) {
  return u.Normal == 1 ? u.CombatPower : RoundHalfEven(u.CombatPower / 2.0);
}

int ShownActionPoints(const Unit& u) { return u.CanMove == 1 ? u.ActionPoints : 0; }

QString StatusLineText(const Game& g, int hoverX, int hoverY) {
  if (g.GameState == 0) return {};
  QString s = Num(g.Turn == 0 ? g.Turn + 1 : g.Turn) + QStringLiteral("ターン ");
  const bool computerPhase = g.GameState >= 15 && g.GameState <= 18;
  const int side = std::clamp(computerPhase ? g.ComputerSide : g.PlayerSide, 0, 1);
  s += U8(SideNames[static_cast<std::size_t>(side)]);
  if (g.GameState >= 0 && g.GameState < static_cast<int>(PhaseNames.size()))
    s += U8(PhaseNames[static_cast<std::size_t>(g.GameState)]);
  if (g.GameState == 2)
    s += QStringLiteral(" 補充ポイント ") + Num(g.ReplenishmentPoints[static_cast<std::size_t>(side)]) + QStringLiteral(" ");
  s += QStringLiteral(" ソルカ軍勝利得点 ") + Num(g.VictoryPoints);
  s += (hoverX < 10 ? QStringLiteral(" X:0") : QStringLiteral(" X:")) + Num(hoverX) + QStringLiteral(" ");
  if (hoverY < 0) {
    s += QStringLiteral(" Y:00    ");
  } else {
    s += (hoverY < 10 ? QStringLiteral(" Y:0") : QStringLiteral(" Y:")) + Num(hoverY) + QStringLiteral("      ");
  }
  if (!OnMapHex(hoverX, hoverY)) return s;  // nothing is looked up off the map
  const auto hx = static_cast<std::size_t>(hoverX), hy = static_cast<std::size_t>(hoverY);
  if (g.RangeShown != 0) {
    if (g.MoveBlocked[hx][hy] == 0) {
      const int a = g.U(std::clamp(g.ActiveUnit, 0, kUnitSlots - 1)).ActionPoints;
      const int r = g.MoveRemaining[hx][hy];
      s += QStringLiteral(" 移動可 移動力消費:") + Num(a - r) + QStringLiteral("(") + Num(a) + QStringLiteral("→") + Num(r) +
           QStringLiteral(")");
    } else {
      s += QStringLiteral(" 移動不可 ");
    }
  }
  const int castle = CastleAt(g, hoverX, hoverY);
  if (castle != -1) {
    const Castle& c = g.Castles[static_cast<std::size_t>(castle)];
    s += Name(c.Name) + QStringLiteral(" 耐久力") + Num(c.Durability) + QStringLiteral(" 強さ") + Num(c.Strength) +
         QStringLiteral(" 士気") + Num(c.CastleMorale);
  }
  return s;
}

void TForm1::ShowUnitInPanel(int slot) {
  slot = std::clamp(slot, 0, kUnitSlots - 1);
  const Unit& u = game_.U(slot);
  Label[34]->setText(game_.SelectedUnit == slot ? QStringLiteral("ユニット選択中") : QStringLiteral("ユニット未選択"));
  Label[9]->setText(Name(u.ArmyName));
  Label[10]->setText(Name(u.GeneralName));
  Label[11]->setText(Num(ShownCombatPower(u)));
  Label[13]->setText(Num(u.MaxCombatPower));
  Label[14]->setText(Num(u.Steps));
  Label[16]->setText(Num(u.MaxSteps));
  Label[18]->setText(Num(ShownActionPoints(u)));
  Label[35]->setText(Num(u.TurnActionPoints));
  Label[20]->setText(Num(u.CorpsActionPoints));
  Label[8]->setText(Num(u.Morale));
  Label[30]->setText(Num(u.CombatModifier));
  Label[26]->setText(Num(u.Command));
  Label[28]->setText(u.Rank >= 0 && u.Rank <= 2 ? U8(RankNames[static_cast<std::size_t>(u.Rank)]) : QString());
  Label[22]->setText(u.CanMove != 0 ? QStringLiteral("移動可能") : QStringLiteral("移動不可"));
  Label[7]->setText(u.Supplied != 0 ? QStringLiteral("補給中") : QStringLiteral("補給切れ"));
  Label[24]->setText(u.Normal != 0 ? QStringLiteral("通常状態") : QStringLiteral("混乱状態"));
  Label[32]->setText(u.Fortified != 0 ? QStringLiteral("完了") : QStringLiteral("未了"));
  Label[38]->setText(Num(u.ReinforcementWait));
}

void TForm1::RefreshUnitList() {
  ListBox1->clear();
  PanelListCount = 0;
  // The player's own corps first, then the enemy's, each in slot order.
  for (const bool own : {true, false}) {
    for (int slot = 0; slot < kUnitSlots; ++slot) {
      const Unit& u = game_.U(slot);
      if (u.OnMap != 1 || u.CommanderIndex != -1 || (u.Side == game_.PlayerSide) != own) continue;
      ListBox1->addItem(Name(u.ArmyName) + QStringLiteral(" ") + Name(u.GeneralName));
      PanelListSlots[static_cast<std::size_t>(PanelListCount++)] = slot;
    }
  }
  UpdateListMarks();
  ShowUnitInPanel(PanelListSlots[0]);
}

void TForm1::UpdateListMarks() {
  // Drawn for the screen's pixels (the windows may be made again at another size).
  const qreal ratio = ListBox1->devicePixelRatioF();
  const auto mark = [ratio](bool ready) {
    QPixmap dot(QSize(8, 8) * ratio);
    dot.setDevicePixelRatio(ratio);
    dot.fill(Qt::transparent);
    if (ready) {
      QPainter p(&dot);
      p.setRenderHint(QPainter::Antialiasing);
      p.setPen(QPen(Qt::black, 1));
      p.setBrush(QColor(40, 200, 40));
      p.drawEllipse(QRectF(0.5, 0.5, 7, 7));
    }
    return QIcon(dot);
  };
  const QIcon ready = mark(true), none = mark(false);
  for (int r = 0; r < ListBox1->count() && r < PanelListCount; ++r) {
    const bool can = CanStillAct(game_, PanelListSlots[static_cast<std::size_t>(r)]);
    QListWidgetItem* item = ListBox1->item(r);
    item->setIcon(can ? ready : none);
    item->setData(Qt::UserRole, can);
  }
}

void TForm1::NextCorpsClick() {
  if (game_.GameState == 0 || PanelListCount == 0) return;
  const int from = ListBox1->currentRow();
  for (int step = 1; step <= PanelListCount; ++step) {
    const int r = ((from < 0 ? -1 : from) + step) % PanelListCount;
    if (!CanStillAct(game_, PanelListSlots[static_cast<std::size_t>(r)])) continue;
    ListBox1->setCurrentRow(r);
    ListBox1Click();
    return;
  }
  FlashHint(QStringLiteral("動ける軍団は残っていません。フェイズ終了 (Ctrl+E) で次へ進みます"));
}

void TForm1::ListBox1Click() {
  const int r = ListBox1->currentRow();
  if (r < 0 || r >= PanelListCount) return;
  const int slot = PanelListSlots[static_cast<std::size_t>(r)];
  ShowUnitInPanel(slot);
  const Unit& u = game_.U(slot);
  const int x = u.HexX, y = u.HexY;
  game_.ScrollX = std::max(0, x * 60 - 240);
  game_.ScrollY = std::max(0, y * 44 - 176);
  MiniX = x < 4 ? 0 : (x - 4) * 8;
  MiniY = std::max(0, (y - 4) * 8);
  ScrollBar1->setValue(game_.ScrollX);
  ScrollBar2->setValue(game_.ScrollY);
  RedrawMinimap();
}

void TForm1::Image2MouseDown(QPoint at) {
  const int x = at.x(), y = at.y();
  const int row = y / 8 - 4;
  const int col = (y / 8) % 2 == 1 ? x / 8 - 4 : (x + 4) / 8 - 4;
  MiniX = std::max(0, x - 32);
  MiniY = std::max(0, y - 32);
  game_.ScrollX = std::max(0, col * 60);
  game_.ScrollY = std::max(0, row * 44);
  ScrollBar1->setValue(game_.ScrollX);
  ScrollBar2->setValue(game_.ScrollY);
  RedrawMinimap();
}

void TForm1::RedrawMinimap() {
  renderer_->RedrawMinimap(game_, MiniX, MiniY);
  Image2->Picture = renderer_->MinimapBitmap();
  Image2->update();
}

void TForm1::RefreshStatusLine() {
  RefreshHint();
  if (game_.GameState == 0) return;
  QString line = StatusLineText(game_, HoverX, HoverY);
  // While a hex to attack is chosen, the one under the mouse is previewed after the line.
  if (const auto p = Aid().PreviewAt(HoverX, HoverY))
    line += QStringLiteral("　") + PreviewStatusText(*p, Aid().EstimateAt(HoverX, HoverY));
  Panel1->setText(StatusNote.isEmpty() ? line : line + QStringLiteral("　") + StatusNote);
}

}  // namespace milgant
