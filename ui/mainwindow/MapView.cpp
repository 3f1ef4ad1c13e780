// The map view: the full and partial redraws copied from the map picture, the scroll bars, the
// hover outline and the mouse buttons on the map.
#include <QEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>

#include <algorithm>

#include "core/game/Game.h"
#include "core/game/HexGrid.h"
#include "core/game/InputScript.h"
#include "ui/mainwindow/AttackAid.h"
#include "ui/mainwindow/Forms.h"
#include "ui/mainwindow/Guidance.h"
#include "ui/mainwindow/WindowUi.h"
#include "ui/mainwindow/SLG_Unit1.h"
#include "core/turn/MapClick.h"
#include "ui/widgets/MapRenderer.h"
#include "ui/widgets/TImage.h"

namespace milgant {
namespace {

bool ValidSlot(int slot) { return slot >= 1 && slot < kUnitSlots; }

// A thick ring `inset` pixels inside the hex whose picture box starts at (ox, oy) in the view.
void Ring(QPainter& p, int ox, int oy, int inset, const QColor& colour) {
  const int i = inset;
  const QPolygon hex({QPoint(ox + 30, oy + i), QPoint(ox + 59 - i, oy + 14 + i), QPoint(ox + 59 - i, oy + 45 - i),
                      QPoint(ox + 30, oy + 59 - i), QPoint(ox + i, oy + 45 - i), QPoint(ox + i, oy + 14 + i)});
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(colour, 3));
  p.setBrush(Qt::NoBrush);
  p.drawPolygon(hex);
}

}  // namespace

void TForm1::CopyToView(int x, int y, int w, int h) {
  // (x, y, w, h) on the map picture lands at (x - ScrollX, y - ScrollY) in the view; both
  // pictures have Scale() pixels to a map unit.
  const int k = renderer_->Scale();
  const QImage& map = renderer_->MapBitmap();
  QImage& view = Image5->Picture;
  QRect src = QRect(x, y, w, h).intersected(QRect(0, 0, map.width() / k, map.height() / k));
  src = src.intersected(QRect(game_.ScrollX, game_.ScrollY, view.width() / k, view.height() / k));
  if (src.isEmpty()) return;
  const int dx = src.left() - game_.ScrollX, dy = src.top() - game_.ScrollY;
  for (int row = 0; row < src.height() * k; ++row) {
    const auto* in = reinterpret_cast<const QRgb*>(map.constScanLine(src.top() * k + row)) + src.left() * k;
    auto* out = reinterpret_cast<QRgb*>(view.scanLine(dy * k + row)) + dx * k;
    std::copy(in, in + src.width() * k, out);
  }
  // The view shows its picture from (8, 0): the control sits 8 pixels left of the window.
  Image5->update(QRect(dx, dy, src.width(), src.height()));
}

void TForm1::SyncScrollBars() {
  for (auto [bar, value] : {std::pair{ScrollBar1, game_.ScrollX}, std::pair{ScrollBar2, game_.ScrollY}}) {
    const bool was = bar->blockSignals(true);
    bar->setValue(value);
    bar->blockSignals(was);
  }
}

void TForm1::RedrawMap() {
  // A new game's list is filled with its first drawing, before the computer's opening moves.
  if (PanelListCount == 0 && game_.GameState != 0) RefreshUnitList();
  renderer_->RedrawMap(game_);
  CopyToView(game_.ScrollX, game_.ScrollY, 793, 521);
  SyncScrollBars();
  RedrawMinimap();
  UpdateListMarks();
}

void TForm1::RedrawAround(int x, int y) {
  renderer_->RedrawAround(game_, x, y);
  CopyToView(x * 60 - 180, y * 44 - 180, 360, 360);
  RedrawMinimap();
}

void TForm1::ScrollBy(int dx, int dy) {
  if (game_.GameState == 0 || !ScrollBar1->isEnabled()) return;
  const int x = std::clamp(game_.ScrollX + dx, ScrollBar1->minimum(), ScrollBar1->maximum());
  const int y = std::clamp(game_.ScrollY + dy, ScrollBar2->minimum(), ScrollBar2->maximum());
  if (x == game_.ScrollX && y == game_.ScrollY) return;
  game_.ScrollX = x;
  game_.ScrollY = y;
  RedrawMap();
}

void TForm1::ScrollBar1Change(int position) {
  game_.ScrollX = position;
  if (game_.ScrollRedraw == 1) RedrawMap();
}

void TForm1::ScrollBar2Change(int position) {
  game_.ScrollY = position;
  if (game_.ScrollRedraw == 1) RedrawMap();
}

bool TForm1::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::KeyPress && (watched == ScrollBar1 || watched == ScrollBar2)) {
    auto* bar = static_cast<QScrollBar*>(watched);
    const bool was = bar->blockSignals(true);
    static_cast<QObject*>(bar)->event(e);
    bar->blockSignals(was);
    (bar == ScrollBar1 ? game_.ScrollX : game_.ScrollY) = bar->value();
    RedrawMap();
    return true;
  }
  return QMainWindow::eventFilter(watched, e);
}

void TForm1::RestoreBox(int x, int y) {
  const HexPos o = HexOrigin(x, y);
  CopyToView(o.X, o.Y, 60, 60);
}

void TForm1::ShowHex(int x, int y) {
  if (!OnMapHex(x, y) || game_.GameState == 0) return;
  // The hex comes into view as a click on the list of commanders brings a unit.
  game_.ScrollX = std::clamp(x * 60 - 240, 0, ScrollBar1->maximum());
  game_.ScrollY = std::clamp(y * 44 - 176, 0, ScrollBar2->maximum());
  // The minimap's view rectangle follows, as it does for the list.
  MiniX = x < 4 ? 0 : (x - 4) * 8;
  MiniY = std::max(0, (y - 4) * 8);
  ScrollBar1->setValue(game_.ScrollX);
  ScrollBar2->setValue(game_.ScrollY);
  RedrawMap();
  RedrawMinimap();
  OutlineHex(x, y, QPen(QColor(255, 220, 0), 3));
}

void TForm1::OutlineHex(int x, int y, const QPen& pen) {
  const HexPos o = HexOrigin(x, y);
  const int ox = o.X - game_.ScrollX, oy = o.Y - game_.ScrollY;
  QPainter p(&Image5->Picture);
  p.setPen(pen);
  static const int kSides[6][4] = {{30, 0, 59, 15},  {59, 15, 59, 44}, {59, 44, 30, 59},
                                   {29, 59, 0, 44},  {0, 44, 0, 15},   {0, 15, 29, 0}};
  for (const auto& s : kSides) p.drawLine(ox + s[0], oy + s[1], ox + s[2], oy + s[3]);
  Image5->update(QRect(ox - 2, oy - 2, 64, 64));
}

void TForm1::DrawHoverOutline() { OutlineHex(HoverX, HoverY, QPen(Qt::white, 1)); }

void TForm1::Image5MouseMove(QPoint at) {
  const HexPos h = PixelToHex(game_.HexMask, at.x(), at.y(), game_.ScrollX, game_.ScrollY);
  HoverX = game_.ClickX = h.X;
  HoverY = game_.ClickY = h.Y;
  if (HoverX != LastHoverX || HoverY != LastHoverY) RestoreBox(LastHoverX, LastHoverY);
  // Beyond the map's edge there is no hex to outline.
  if (OnMapHex(HoverX, HoverY)) DrawHoverOutline();
  LastHoverX = HoverX;
  LastHoverY = HoverY;
  mouseAt_ = at;
  RefreshStatusLine();
  ShowAttackTip();
}

void TForm1::ShowAttackTip() {
  const auto p = Aid().PreviewAt(HoverX, HoverY);
  if (!p || Busy()) {
    if (!attackTip_.isEmpty()) QToolTip::hideText();
    attackTip_.clear();
    return;
  }
  const QString tip = PreviewTooltipText(game_, *p, Aid().EstimateAt(HoverX, HoverY));
  if (tip == attackTip_ && QToolTip::isVisible()) return;
  attackTip_ = tip;
  // Beside the hex, clear of the pointer, so the next hex can still be reached.
  QToolTip::showText(Image5->mapToGlobal(mouseAt_ + QPoint(24, 24)), tip, Image5);
}

void TForm1::Image5MouseDown(Qt::MouseButton button, QPoint at) {
  if (game_.GameState == 0 || Busy() || Closing) return;
  const HexPos h = PixelToHex(game_.HexMask, at.x(), at.y(), game_.ScrollX, game_.ScrollY);
  // Left of an odd row's first hex lies no hex, but the conversion reads it as the second hex
  // of the row above: such a press is ignored.
  const int mapX = at.x() + game_.ScrollX, mapY = at.y() + game_.ScrollY;
  if (mapY >= 0 && ((mapY / 44) & 1) != 0 && mapX >= 0 && mapX < 29 && h.X == 1) return;
  game_.ClickX = h.X;
  game_.ClickY = h.Y;
  InputRecorder* recorder = forms_.Ui->Recorder;
  if (button == Qt::RightButton) {
    // The right button cancels a move or an attack being chosen, wherever it is pressed;
    // otherwise it opens the pop-up menu.
    const Input in = Input::Right(std::clamp(h.X, 0, kMapSize - 1), std::clamp(h.Y, 0, kMapSize - 1));
    BusyScope busy(*this);
    if (recorder != nullptr) recorder->Write(in);
    if (DispatchInput(game_, *forms_.Ui, in) == Dispatched::PopupMenu) PopupMenu1->popup(Image5->mapToGlobal(at));
    ShowAttackTip();
    Image5->update();
    return;
  }
  if (button != Qt::LeftButton || !OnMapHex(h.X, h.Y)) return;
  // The hex's first unit is shown in the panel; what the click commands is the dispatcher's.
  const int first = FirstUnitAt(game_, h.X, h.Y);
  if (first != -1) ShowUnitInPanel(first);
  const Input in = Input::Click(h.X, h.Y);
  const int before = game_.GameState;
  const int attacker = game_.ActiveUnit;
  const int pointsBefore = ValidSlot(attacker) ? game_.U(attacker).ActionPoints : 0;
  {
    BusyScope busy(*this);
    if (recorder != nullptr) recorder->Write(in);
    DispatchInput(game_, *forms_.Ui, in);
  }
  // An attack agreed to but never fought: the corps lacked the points the odds ask for.
  if (before == 6 && game_.GameState == 7 && forms_.Ui->LastAnswer() && ValidSlot(attacker) &&
      game_.U(attacker).ActionPoints == pointsBefore && game_.U(attacker).TargetX == -1)
    FlashHint(QStringLiteral("行動ポイントが足りず攻撃できません（兵力比3倍未満の攻撃には 3 ポイント）"));
  RefreshHint();
  // The targets' rings and the preview follow the state the click has left.
  ShowAttackTip();
  Image5->update();
}

// --- what is drawn over the view ---------------------------------------------------------------

void TForm1::PaintCastleNames(QPainter& p) {
  QFont font = p.font();
  font.setPixelSize(12);
  font.setBold(true);
  p.setFont(font);
  const QRect view = Image5->rect();
  for (int c = 1; c < game_.CastleCounter && c < kCastleSlots; ++c) {
    const Castle& castle = game_.Castles[static_cast<std::size_t>(c)];
    if (!OnMapHex(castle.HexX, castle.HexY)) continue;
    const HexPos o = HexOrigin(castle.HexX, castle.HexY);
    // Under the middle of the hex, over the lower edge, where the counters leave room.
    const QRect box(o.X - 20 - game_.ScrollX, o.Y + 42 - game_.ScrollY, 100, 15);
    if (!view.intersects(box)) continue;
    const QString label = CastleLabel(game_, c);
    const QColor colour = castle.Owner == 1 ? QColor(255, 90, 80) : QColor(110, 160, 255);
    p.setPen(Qt::black);
    for (const QPoint d : {QPoint(-1, 0), QPoint(1, 0), QPoint(0, -1), QPoint(0, 1)})
      p.drawText(box.translated(d), Qt::AlignCenter, label);
    p.setPen(colour);
    p.drawText(box, Qt::AlignCenter, label);
  }
}

void TForm1::PaintAttackTargets(QPainter& p) {
  // Every hex the chosen corps may attack, ringed in red.
  for (const HexPos t : Aid().Targets()) {
    const HexPos o = HexOrigin(t.X, t.Y);
    Ring(p, o.X - game_.ScrollX, o.Y - game_.ScrollY, 2, QColor(230, 30, 30));
  }
}

void TForm1::PaintOverView(QPainter& p) {
  if (CastleNamesItem->isChecked() && game_.GameState != 0) PaintCastleNames(p);
  if (Aid().Choosing()) PaintAttackTargets(p);
  // A green dot at the top right of every own corps that can still be given an order.
  p.setRenderHint(QPainter::Antialiasing);
  const QRect view = Image5->rect();
  for (int r = 0; r < PanelListCount; ++r) {
    const int slot = PanelListSlots[static_cast<std::size_t>(r)];
    if (!CanStillAct(game_, slot)) continue;
    const Unit& u = game_.U(slot);
    const HexPos o = HexOrigin(u.HexX, u.HexY);
    const QRect dot(o.X + 44 - game_.ScrollX, o.Y + 2 - game_.ScrollY, 11, 11);
    if (!view.intersects(dot)) continue;
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(40, 200, 40));
    p.drawEllipse(dot);
  }
  if (game_.GameState != 7 || !ValidSlot(game_.SelectedUnit)) return;
  const Unit& u = game_.U(game_.SelectedUnit);
  if (u.OnMap != 1 || !OnMapHex(u.HexX, u.HexY)) return;
  // The corps that has been given an order stays outlined until its action ends.
  const HexPos o = HexOrigin(u.HexX, u.HexY);
  Ring(p, o.X - game_.ScrollX, o.Y - game_.ScrollY, 1, QColor(255, 215, 0));
}

}  // namespace milgant
