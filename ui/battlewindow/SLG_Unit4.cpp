// The battle window. It only shows: the battle itself runs in the core and calls in here through
// the Ui. The map excerpt is cut from the main window's map picture after the hexes around the
// battle are drawn again; arrows go onto the excerpt only, so the main map never keeps them.
#include "ui/battlewindow/SLG_Unit4.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QKeyEvent>
#include <QPushButton>

#include <algorithm>
#include <array>

#include "ui/dialogs/Placement.h"
#include "core/game/Game.h"
#include "core/game/HexGrid.h"
#include "core/game/Text.h"
#include "ui/text/SerifBoxs.h"
#include "ui/widgets/JpegPicture.h"
#include "ui/widgets/MapRenderer.h"
#include "ui/widgets/Pictures.h"
#include "ui/widgets/ScreenPictures.h"

namespace milgant {
namespace {

constexpr int kExcerptWidth = 300;
constexpr int kExcerptHeight = 360;
// Where an attack arrow sits inside the attacking unit's hex, by direction 1..6.
constexpr std::array<QPoint, 6> kAttackArrowOffsets = {
    QPoint(4, 18), QPoint(0, 13), QPoint(4, 4), QPoint(17, 4), QPoint(22, 13), QPoint(17, 18)};
const QColor kPanelGrey(128, 128, 128);
// Battle texts are written a little larger than the window font, to fill their 15-pixel cells.
constexpr int kTextPixels = 14;

// Top-left of the excerpt on the full map picture for the battle hex (x, y).
QPoint ExcerptOrigin(int x, int y) { return {x * 60 - 95, y * 44 - 160}; }

QString Number(double v) { return QString::number(v, 'g', 15); }

}  // namespace

TForm4::TForm4(QWidget* parent) : QWidget(parent, Qt::Window) {
  setWindowFlags(Qt::Window | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                 Qt::WindowTitleHint);
  setWindowTitle(QStringLiteral("戦闘"));
  setFixedSize(630, 601);
  setFont(GothicFont());

  auto label = [this](const QString& text, int x, int y) {
    auto* l = new QLabel(text, this);
    l->move(x, y);
    l->resize(90, 16);
    return l;
  };
  // Attacker, left.
  Label1 = label(QStringLiteral("陣営"), 10, 8);
  Label2 = label(QString(), 90, 8);
  Label3 = label(QStringLiteral("総合戦闘力"), 10, 26);
  Label5 = label(QString(), 90, 26);
  Label4 = label(QStringLiteral("総合ステップ"), 10, 44);
  Label6 = label(QString(), 90, 44);
  Label13 = label(QStringLiteral("地形効果"), 10, 62);
  Label15 = label(QString(), 90, 62);
  Label14 = label(QStringLiteral("航空支援"), 10, 80);
  Label16 = label(QString(), 90, 80);
  // Defender, right.
  Label7 = label(QStringLiteral("陣営"), 472, 8);
  Label8 = label(QString(), 552, 8);
  Label9 = label(QStringLiteral("総合戦闘力"), 472, 26);
  Label11 = label(QString(), 552, 26);
  Label10 = label(QStringLiteral("総合ステップ"), 472, 44);
  Label12 = label(QString(), 552, 44);
  Label17 = label(QStringLiteral("地形効果"), 472, 62);
  Label19 = label(QString(), 552, 62);
  Label21 = label(QStringLiteral("河川修正"), 472, 80);
  Label22 = label(QString(), 552, 80);
  Label18 = label(QStringLiteral("航空支援"), 472, 98);
  Label20 = label(QString(), 552, 98);
  for (QLabel* hidden : {Label14, Label16, Label18, Label20}) {
    hidden->setVisible(false);
    hidden->setEnabled(false);
  }

  Image1 = new QLabel(this);
  Image1->setGeometry(165, 30, kExcerptWidth, kExcerptHeight);
  Image1->installEventFilter(this);
  Image4 = new QLabel(this);
  Image4->setGeometry(2, 104, 161, 361);
  Image5 = new QLabel(this);
  Image5->setGeometry(467, 120, 161, 377);

  SerifBox1 = new TSerifBox(this);
  SerifBox1->setGeometry(165, 396, 301, 94);
  SerifBox1->TextWidth = 15;
  SerifBox1->TextHeight = 15;
  SerifBox1->HorizontalSpace = 16;
  SerifBox1->VerticalSpace = 10;
  SerifBox1->AutoStop = false;
  SerifBox1->setFont(MinchoFont(kTextPixels));
  SerifBox1->FontColor = Qt::white;
  SerifBox1->OnPaint = [this](TSerifBox* box, QPainter& p) { SerifBox1Paint(box, p); };
  SerifBox1->OnClick = [this](TSerifBox* box) { SerifBox1Click(box); };
  SerifBox1->setCursor(Qt::PointingHandCursor);

  ListBox1 = new QListWidget(this);
  ListBox1->setGeometry(2, 470, 161, 95);
  ListBox2 = new QListWidget(this);
  ListBox2->setGeometry(467, 502, 161, 63);
  Button1 = new QPushButton(QStringLiteral("援軍選択"), this);
  Button1->setGeometry(2, 570, 78, 25);
  Button3 = new QPushButton(QStringLiteral("援軍拒否"), this);
  Button3->setGeometry(85, 570, 78, 25);
  Button2 = new QPushButton(QStringLiteral("援軍選択"), this);
  Button2->setGeometry(467, 570, 78, 25);
  Button4 = new QPushButton(QStringLiteral("援軍拒否"), this);
  Button4->setGeometry(550, 570, 78, 25);
  for (QPushButton* b : {Button1, Button2, Button3, Button4}) {
    b->setEnabled(false);
    b->installEventFilter(this);
  }
  for (QListWidget* list : {ListBox1, ListBox2}) list->installEventFilter(this);
  // Under the text box while a reinforcement may be chosen: what the two buttons do.
  ChoiceHint = new QLabel(this);
  ChoiceHint->setGeometry(167, 494, 297, 72);
  ChoiceHint->setWordWrap(true);
  ChoiceHint->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  ChoiceHint->setStyleSheet(QStringLiteral("QLabel { background: rgba(0, 0, 0, 170); color: #ffe070; padding: 4px; }"));
  ChoiceHint->setVisible(false);
  Summary = new QLabel(this);
  Summary->setGeometry(171, 282, 288, 104);
  Summary->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Summary->setStyleSheet(QStringLiteral("QLabel { background: rgba(0, 0, 0, 190); color: white; padding: 5px; }"));
  Summary->setVisible(false);
  connect(Button1, &QPushButton::clicked, this, &TForm4::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TForm4::Button2Click);
  connect(Button3, &QPushButton::clicked, this, &TForm4::Button3Click);
  connect(Button4, &QPushButton::clicked, this, &TForm4::Button4Click);

  k_ = pictures::PictureScale();
  Image2 = pictures::BattleTextBackground(k_);
  excerpt_ = Canvas(QSize(kExcerptWidth, kExcerptHeight));
  excerpt_.fill(Qt::black);
  shown_ = excerpt_;
  ShowExcerpt();
  ClearSidePanels();
}

TForm4::~TForm4() = default;

void TForm4::SetSources(const Game* game, MapRenderer* renderer,
                        const pictures::MainWindowPictures* pics, QWidget* mainWindow) {
  game_ = game;
  renderer_ = renderer;
  pics_ = pics;
  mainWindow_ = mainWindow;
}

bool TForm4::LoadBackground(const QString& workingFolder) {
  JPEGImage1 = pictures::SharpTwin(LoadJpeg(workingFolder + QStringLiteral("/form4.JPG")),
                                   pictures::SharpName("form4.JPG"), k_);
  update();
  return !JPEGImage1.isNull();
}

// --- the battle calls ----------------------------------------------------------------------

void TForm4::BattleShow(int x, int y) {
  ShowFresh();
  DrawMapExcerpt(x, y);
}

void TForm4::ShowFresh() {
  if (!isVisible()) {
    // A fresh battle: nothing of the last one stays on screen.
    SerifBox1->Clear();
    for (QLabel* value : {Label2, Label5, Label6, Label15, Label16, Label8, Label11, Label12,
                          Label19, Label20, Label22})
      value->clear();
    ClearSidePanels();
    excerpt_.fill(Qt::black);
    shown_ = excerpt_.copy();
    ShowExcerpt();
    aborted_ = false;
    Summary->setVisible(false);
    fighterCount_ = 0;
    attackerSide_ = defenderSide_ = -1;
  }
  show();
  raise();
}

void TForm4::BattleMessage(std::string_view text) {
  // A message outside a battle (a general lost to hunger) still needs a window to be clicked.
  if (!isVisible()) ShowFresh();
  if (aborted_) return;
  SerifBox1->Lines.clear();
  SerifBox1->Lines.append(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  // The summary is up: this is the battle's last word, and the player closes it himself.
  const bool lastWord = Summary->isVisible();
  const int normalPause = SerifBox1->WaitTime;
  SerifBox1->WaitTime = TypingPause(MessagePace, normalPause);
  SerifBox1->AutoAdvanceMs = lastWord ? 0 : PageHold(MessagePace);
  SerifBox1->Play(false);
  SerifBox1->WaitTime = normalPause;
  SerifBox1->AutoAdvanceMs = 0;
}

void TForm4::BattleSides(const BattleView& v) {
  ClearSidePanels();
  // Each unit is counted from the steps it brought into the battle.
  // The sides as the battle began: after an advance the hex holds the attacker.
  if (attackerSide_ == -1) {
    attackerSide_ = v.AttackerSide;
    defenderSide_ = v.DefenderSide;
  }
  for (const auto& [list, attacker] : {std::pair{&v.AttackerUnits, true}, std::pair{&v.DefenderUnits, false}}) {
    for (int i = 0; i < list->Count && game_ != nullptr; ++i) {
      const int slot = list->Slots[static_cast<std::size_t>(i)];
      if (slot < 1 || slot >= kUnitSlots) continue;
      bool known = false;
      for (int k = 0; k < fighterCount_; ++k) known = known || fighters_[static_cast<std::size_t>(k)].Slot == slot;
      if (!known && fighterCount_ < static_cast<int>(fighters_.size()))
        fighters_[static_cast<std::size_t>(fighterCount_++)] = {slot, attacker, game_->U(slot).Steps};
    }
  }
  auto sideName = [](int side) {
    return side == 0 || side == 1 ? QString::fromUtf8(SideNames[static_cast<std::size_t>(side)].data(),
                                                      static_cast<qsizetype>(SideNames[static_cast<std::size_t>(side)].size()))
                                  : QString();
  };
  for (int p = 0; p < v.AttackerUnits.Count; ++p)
    DrawUnitIcon(p, v.AttackerUnits.Slots[static_cast<std::size_t>(p)], true);
  Label2->setText(sideName(v.AttackerSide));
  Label5->setText(QString::number(v.AttackerStrength));
  Label6->setText(QString::number(v.AttackerSteps));
  Label15->clear();
  Label16->setText(Number(v.AttackerSupport));
  for (int p = 0; p < v.DefenderUnits.Count; ++p)
    DrawUnitIcon(p, v.DefenderUnits.Slots[static_cast<std::size_t>(p)], false);
  Label8->setText(sideName(v.DefenderSide));
  Label11->setText(QString::number(v.DefenderStrength));
  Label12->setText(QString::number(v.DefenderSteps));
  Label19->setText(QString::number(v.TerrainValue));
  Label20->setText(Number(v.DefenderSupport));
  Label22->setText(Number(v.RiverFactor));
  Image4->setPixmap(ScreenPixmap(panel4_, Image4));
  Image5->setPixmap(ScreenPixmap(panel5_, Image5));
}

void TForm4::BattleAttackArrow(int direction, int x, int y) {
  if (direction < 1 || direction > 6 || pics_ == nullptr ||
      pics_->AttackArrows.size() < direction)
    return;
  const HexPos o = HexOrigin(x, y);
  const QPoint at = QPoint(o.X, o.Y) + kAttackArrowOffsets[static_cast<std::size_t>(direction - 1)] -
                    ExcerptOrigin(battleX_, battleY_);
  QPainter p(&shown_);
  p.drawImage(at, pics_->AttackArrows[direction - 1]);
  p.end();
  ShowExcerpt();
}

void TForm4::BattleRetreatArrow(int direction, int x, int y) {
  if (direction < 1 || direction > 6 || pics_ == nullptr || pics_->RetreatArrows.size() < direction)
    return;
  const int image = direction - 1;
  const QPoint at = QPoint(x * 60 + (y % 2) * 29 + 5, y * 44 + 5) - ExcerptOrigin(battleX_, battleY_);
  QPainter p(&shown_);
  p.drawImage(at, pics_->RetreatArrows[image]);
  p.end();
  ShowExcerpt();
}

void TForm4::BattleRefresh() {
  if (battleX_ >= 0) DrawMapExcerpt(battleX_, battleY_);
}

int TForm4::BattleChooseReinforcement(int panel, const UnitList& candidates) {
  QListWidget* list = panel == 0 ? ListBox1 : ListBox2;
  list->clear();
  ReinforcementCandidateCount = 0;
  const int count = std::clamp(candidates.Count, 0, static_cast<int>(ReinforcementCandidates.size()));
  for (int row = 0; row < count; ++row) {
    const int slot = candidates.Slots[static_cast<std::size_t>(row)];
    ReinforcementCandidates[static_cast<std::size_t>(ReinforcementCandidateCount++)] = slot;
    QString name;
    if (game_ != nullptr && slot >= 0 && slot < kUnitSlots)
      name = QString::fromStdString(Cp932ToUtf8Lossy(game_->U(slot).GeneralName.View()));
    list->addItem(name);
  }
  ReinforcementChoice = 0;
  ReinforcementUnit = -1;
  ReinforcementRow = -1;
  SetOnlyChoiceEnabled(true, panel);
  if (ReinforcementCandidateCount > 0 && !aborted_) {
    list->setCurrentRow(0);
    choosing_ = true;
    ShowChoiceGuide(true, panel);
    while (ReinforcementChoice == 0 && !aborted_) {
      QEventLoop loop;
      connect(this, &TForm4::destroyed, &loop, &QEventLoop::quit);
      choiceLoop_ = &loop;
      loop.exec();
      choiceLoop_ = nullptr;
    }
    choosing_ = false;
    ShowChoiceGuide(false, panel);
  }
  SetOnlyChoiceEnabled(false, panel);
  list->clear();
  return ReinforcementChoice == 1 ? ReinforcementRow : -1;
}

void TForm4::BattleClose() {
  Summary->setVisible(false);
  hide();
}

QString TForm4::SummaryText(const BattleOutcome& o) const {
  if (game_ == nullptr) return {};
  auto sideName = [](int side) {
    return side == 0 || side == 1 ? QString::fromUtf8(ArmyNames[static_cast<std::size_t>(side)].data()) : QString();
  };
  int lost[2] = {0, 0}, wiped[2] = {0, 0}, count[2] = {0, 0};
  for (int k = 0; k < fighterCount_; ++k) {
    const Fighter& f = fighters_[static_cast<std::size_t>(k)];
    const Unit& u = game_->U(f.Slot);
    const int i = f.Attacker ? 0 : 1;
    ++count[i];
    // A unit wiped out has left the map; what it may bring back later is not this battle's.
    const int now = u.OnMap == 1 ? u.Steps : 0;
    lost[i] += std::max(0, f.Steps - now);
    wiped[i] += u.OnMap == 1 ? 0 : 1;
  }
  QStringList lines;
  lines << QStringLiteral("戦闘の結果（%1ラウンド）").arg(o.Rounds);
  const QString role[2] = {QStringLiteral("攻撃側"), QStringLiteral("防御側")};
  const int sides[2] = {attackerSide_, defenderSide_};
  for (int i = 0; i < 2; ++i) {
    QString line = role[i] + QStringLiteral(" ") + sideName(sides[i]) + QStringLiteral(": 損害 %1ステップ").arg(lost[i]);
    if (wiped[i] > 0) line += QStringLiteral("、全滅 %1部隊").arg(wiped[i]);
    lines << line;
  }
  QStringList events;
  if (o.AttackerRetreated) events << QStringLiteral("攻撃側が後退");
  if (o.DefenderRetreated) events << QStringLiteral("防御側が後退");
  if (count[1] > 0 && wiped[1] == count[1]) events << QStringLiteral("防御側は全滅");
  const int castle = battleX_ >= 0 ? CastleAt(*game_, battleX_, battleY_) : -1;
  if (o.CastleFallen && castle != -1)
    events << QString::fromStdString(Cp932ToUtf8Lossy(game_->Castles[static_cast<std::size_t>(castle)].Name.View())) +
                  QStringLiteral("が落城");
  if (o.AdvancedUnit >= 1 && o.AdvancedUnit < kUnitSlots)
    events << QString::fromStdString(Cp932ToUtf8Lossy(game_->U(o.AdvancedUnit).GeneralName.View())) +
                  QStringLiteral("が進出");
  if (events.isEmpty()) events << QStringLiteral("双方その場を守った");
  lines << events.join(QStringLiteral("、"));
  return lines.join(QLatin1Char('\n'));
}

void TForm4::BattleOver(const BattleOutcome& outcome) {
  Summary->setText(SummaryText(outcome));
  Summary->setVisible(true);
  Summary->raise();
}

void TForm4::Abort() {
  aborted_ = true;
  SerifBox1->Abort();
  if (choiceLoop_ != nullptr) choiceLoop_->quit();
}

// --- drawing -------------------------------------------------------------------------------

void TForm4::ClearSidePanels() {
  panel4_ = Canvas(Image4->size());
  panel4_.fill(kPanelGrey);
  panel5_ = Canvas(Image5->size());
  panel5_.fill(kPanelGrey);
  Image4->setPixmap(ScreenPixmap(panel4_, Image4));
  Image5->setPixmap(ScreenPixmap(panel5_, Image5));
}

void TForm4::DrawUnitIcon(int position, int slot, bool attacker) {
  if (game_ == nullptr || pics_ == nullptr || slot < 1 || slot >= kUnitSlots) return;
  const Unit& u = game_->U(slot);
  const int index = u.Side * 6 + u.Rank * 2;
  if (index < 0 || index >= pics_->Counters.size()) return;
  QPainter p(attacker ? &panel4_ : &panel5_);
  p.drawImage(QPoint((position % 3) * 50 + 5, (position / 3) * 50), pics_->Counters[index]);
}

void TForm4::DrawMapExcerpt(int x, int y) {
  battleX_ = x;
  battleY_ = y;
  excerpt_.fill(Qt::black);
  if (renderer_ != nullptr && game_ != nullptr) {
    // The hexes and counters within five columns and rows, drawn again as they stand now.
    for (int row = std::max(0, y - 5); row <= std::min(kMapSize - 1, y + 5); ++row)
      for (int col = std::max(0, x - 5); col <= std::min(kMapSize - 1, x + 5); ++col)
        renderer_->DrawHex(*game_, col, row);
    for (int row = std::max(0, y - 5); row <= std::min(kMapSize - 1, y + 5); ++row)
      for (int col = std::max(0, x - 5); col <= std::min(kMapSize - 1, x + 5); ++col)
        renderer_->DrawCounters(*game_, col, row);
    QPainter p(&excerpt_);
    const QPoint o = ExcerptOrigin(x, y);
    const int k = renderer_->Scale();
    const QRect source = QRect(o, QSize(kExcerptWidth, kExcerptHeight)) &
                         QRect(0, 0, MapRenderer::kMapBitmapSize, MapRenderer::kMapBitmapSize);
    if (!source.isEmpty())
      p.drawImage(source.topLeft() - o, renderer_->MapBitmap(), QRect(source.topLeft() * k, source.size() * k));
  }
  shown_ = excerpt_.copy();
  ShowExcerpt();
}

QImage TForm4::Canvas(QSize units) const {
  QImage img(units * k_, QImage::Format_RGB32);
  img.setDevicePixelRatio(k_);
  return img;
}

void TForm4::ShowExcerpt() { Image1->setPixmap(ScreenPixmap(shown_, Image1)); }

void TForm4::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (JPEGImage1.isNull())
    p.fillRect(rect(), QColor(222, 212, 190));
  else {
    ScalePicturesFor(p, JPEGImage1.devicePixelRatio());
    p.drawImage(0, 0, JPEGImage1);
  }
}

void TForm4::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  FormShow();
}

void TForm4::FormShow() {
  // Centred on the main window, 20 pixels low.
  CentreOnMainWindow(this, mainWindow_, 20);
}

void TForm4::closeEvent(QCloseEvent* event) {
  // Only the battle's caller closes the window.
  event->ignore();
}

void TForm4::SerifBox1Paint(TSerifBox* box, QPainter& p) {
  box->setFont(MinchoFont(kTextPixels));
  box->FontColor = Qt::white;
  if (Image2.isNull())
    p.fillRect(box->rect(), Qt::black);
  else
    p.drawTiledPixmap(box->rect(), ScreenPixmap(Image2, box));
}

void TForm4::SerifBox1Click(TSerifBox* box) { box->Next(); }

void TForm4::Button1Click() {
  const int row = ListBox1->currentRow();
  if (row < 0 || row >= ReinforcementCandidateCount) return;
  ReinforcementRow = row;
  ReinforcementUnit = ReinforcementCandidates[static_cast<std::size_t>(row)];
  ReinforcementChoice = 1;
  if (choiceLoop_ != nullptr) choiceLoop_->quit();
}

void TForm4::Button2Click() {
  const int row = ListBox2->currentRow();
  if (row < 0 || row >= ReinforcementCandidateCount) return;
  ReinforcementRow = row;
  ReinforcementUnit = ReinforcementCandidates[static_cast<std::size_t>(row)];
  ReinforcementChoice = 1;
  if (choiceLoop_ != nullptr) choiceLoop_->quit();
}

void TForm4::Button3Click() {
  ReinforcementChoice = 2;
  if (choiceLoop_ != nullptr) choiceLoop_->quit();
}

void TForm4::Button4Click() { Button3Click(); }

void TForm4::SetOnlyChoiceEnabled(bool choosing, int panel) {
  QPushButton* const take = panel == 0 ? Button1 : Button2;
  QPushButton* const refuse = panel == 0 ? Button3 : Button4;
  for (QPushButton* b : {Button1, Button2, Button3, Button4})
    b->setEnabled(choosing && (b == take || b == refuse));
  QListWidget* const list = panel == 0 ? ListBox1 : ListBox2;
  QListWidget* const other = panel == 0 ? ListBox2 : ListBox1;
  list->setEnabled(true);
  other->setEnabled(!choosing);
  SerifBox1->setEnabled(!choosing);
}

void TForm4::ShowChoiceGuide(bool on, int panel) {
  QPushButton* const take = panel == 0 ? Button1 : Button2;
  QPushButton* const refuse = panel == 0 ? Button3 : Button4;
  ChoiceHint->setText(on ? QStringLiteral("援軍を送れます。一覧から武将を選んで「援軍選択」(Enter)、"
                                          "送らないときは「援軍拒否」(Esc)。")
                         : QString());
  ChoiceHint->setVisible(on);
  ChoiceHint->raise();
  const QString lit = QStringLiteral("QPushButton { border: 2px solid #ffd000; background: #fff0a0; color: black; }");
  for (QPushButton* b : {take, refuse}) b->setStyleSheet(on ? lit : QString());
  // The text box keeps its wait mark: the battle waits for the player here too.
  SerifBox1->HoldMark = on;
  SerifBox1->update();
  if (on) {
    activateWindow();
    take->setFocus(Qt::OtherFocusReason);
  }
}

bool TForm4::ChoiceKey(QEvent* event) {
  if (!choosing_ || event->type() != QEvent::KeyPress) return false;
  const int key = static_cast<QKeyEvent*>(event)->key();
  const bool attacker = Button1->isEnabled();
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    (attacker ? Button1 : Button2)->click();
    return true;
  }
  if (key == Qt::Key_Escape) {
    (attacker ? Button3 : Button4)->click();
    return true;
  }
  return false;
}

void TForm4::keyPressEvent(QKeyEvent* event) {
  if (!ChoiceKey(event)) QWidget::keyPressEvent(event);
}

bool TForm4::eventFilter(QObject* watched, QEvent* event) {
  if (watched != Image1 && ChoiceKey(event)) return true;
  if (watched == Image1 && event->type() == QEvent::MouseButtonPress)
    Image1MouseDown(static_cast<QMouseEvent*>(event)->position().toPoint());
  return QWidget::eventFilter(watched, event);
}

void TForm4::Image1MouseDown(QPoint at) {
  // The map stays readable during a reinforcement choice but takes no press then.
  if (game_ == nullptr || battleX_ < 0 || choosing_) return;
  // The excerpt is the map picture at full scale, so the point converts as on the main map.
  const QPoint o = ExcerptOrigin(battleX_, battleY_);
  const HexPos h = PixelToHex(game_->HexMask, at.x(), at.y(), o.x(), o.y());
  if (!OnMapHex(h.X, h.Y)) return;
  lastClickX_ = h.X;
  lastClickY_ = h.Y;
}

}  // namespace milgant
