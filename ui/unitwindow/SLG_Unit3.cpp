#include "ui/unitwindow/SLG_Unit3.h"

#include <QCloseEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

#include <initializer_list>

#include "ui/dialogs/Placement.h"
#include "core/game/Game.h"
#include "core/game/InputScript.h"
#include "core/rules/PositionValue.h"
#include "core/turn/CommandTexts.h"
#include "core/turn/MapClick.h"
#include "core/turn/Organisation.h"
#include "core/turn/UnitWindow.h"
#include "ui/widgets/JpegPicture.h"
#include "ui/widgets/Pictures.h"
#include "ui/widgets/ScreenPictures.h"

namespace milgant {
namespace {

QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace

TForm3::TForm3(QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint),
      mainWindow_(mainWindow) {
  setWindowTitle(Q(texts::kUnitWindowCaption));
  setFixedSize(520, 420);
  setModal(true);
  auto* corps = new QLabel(Q(texts::kCorpsListCaption), this);
  corps->move(16, 8);
  ListBox1 = new QListWidget(this);
  ListBox1->setGeometry(16, 26, 200, 121);
  auto* subs = new QLabel(Q(texts::kSubordinateListCaption), this);
  subs->move(16, 156);
  ListBox2 = new QListWidget(this);
  ListBox2->setGeometry(16, 174, 200, 137);
  for (QListWidget* list : {ListBox1, ListBox2}) list->setFocusPolicy(Qt::NoFocus);
  Image1 = new QLabel(this);
  Image1->setGeometry(232, 26, 50, 50);
  for (int i = 0; i < 15; ++i) {
    const auto n = static_cast<std::size_t>(i);
    Captions[n] = new QLabel(Q(texts::kDetailCaptions[n]), this);
    Captions[n]->setGeometry(292, 26 + 19 * i, 136, 16);
    Values[n] = new QLabel(this);
    Values[n]->setGeometry(432, 26 + 19 * i, 84, 16);
  }
  const std::array<std::string_view, 10> captions = {texts::kButtonMove,      texts::kButtonBattle, texts::kButtonDetach,
                                                     texts::kButtonOrganise,  texts::kButtonRecover, texts::kButtonEndAction,
                                                     texts::kButtonReplenish, texts::kButtonFortify, texts::kButtonStandby,
                                                     "Cancel"};
  std::array<QPushButton**, 10> buttons = {&Button1, &Button3, &Button4, &Button5, &Button6,
                                           &Button7, &Button8, &Button9, &Button10, &Button2};
  const std::array<WindowButton, 10> meaning = {WindowButton::Move,      WindowButton::Battle,   WindowButton::Detach,
                                                WindowButton::Organise,  WindowButton::Recover,  WindowButton::EndAction,
                                                WindowButton::Replenish, WindowButton::Fortify,  WindowButton::Standby,
                                                WindowButton::Cancel};
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    QPushButton* b = new QPushButton(Q(captions[i]), this);
    *buttons[i] = b;
    b->setGeometry(16 + static_cast<int>(i % 5) * 98, 330 + static_cast<int>(i / 5) * 36, 92, 28);
    const WindowButton w = meaning[i];
    connect(b, &QPushButton::clicked, this, [this, w] { Feed(Input::Press(w)); });
  }
  connect(ListBox1, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    if (!refreshing_) Feed(Input::Of(InputKind::Row, ListBox1->row(item)));
  });
  connect(ListBox1, &QListWidget::itemDoubleClicked, this, [this] {
    if (!refreshing_) Feed(Input::Of(InputKind::Double));
  });
  connect(ListBox2, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    if (!refreshing_) Feed(Input::Of(InputKind::Sub, ListBox2->row(item)));
  });
  HintLabel = new QLabel(this);
  HintLabel->setGeometry(16, 398, 488, 18);
  HintLabel->setIndent(4);
  HintLabel->setStyleSheet(QStringLiteral("QLabel { background: rgba(255, 255, 255, 200); color: black; }"));
  HintLabel->setVisible(false);
  Timer1 = new QTimer(this);  // kept from the window's design; it has nothing to do
}

bool TForm3::LoadBackground(const QString& workingFolder) {
  JPEGImage1 = LoadJpeg(workingFolder + QStringLiteral("/form3.JPG"));
  if (!JPEGImage1.isNull() && JPEGImage1.size() != size()) {
    JPEGImage1 = JPEGImage1.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  }
  JPEGImage1 = pictures::SharpTwin(JPEGImage1, pictures::SharpName("form3.JPG"), pictures::PictureScale());
  return !JPEGImage1.isNull();
}

void TForm3::SetButtons(const Game& g) {
  Button1->setEnabled(g.Button(UnitButton::Move));
  Button3->setEnabled(g.Button(UnitButton::Battle));
  Button4->setEnabled(g.Button(UnitButton::Detach));
  Button5->setEnabled(g.Button(UnitButton::Organise));
  Button6->setEnabled(g.Button(UnitButton::Recover));
  Button7->setEnabled(g.Button(UnitButton::EndAction));
  Button9->setEnabled(g.Button(UnitButton::Fortify));
  Button10->setEnabled(g.Button(UnitButton::Standby));
  Button8->setEnabled(g.Button(UnitButton::Replenish));
}

void TForm3::Run(UnitWindow& window, InputRecorder* recorder) {
  window_ = &window;
  recorder_ = recorder;
  Refresh();
  if (!window.Closed()) exec();
  // Shut by the program rather than by a button: as Cancel.
  if (!window.Closed()) window.ForceCancel();
  window_ = nullptr;
  recorder_ = nullptr;
  ListBox1->clear();
  ListBox2->clear();
}

void TForm3::Feed(const Input& in) {
  if (window_ == nullptr || window_->Closed()) return;
  // The line goes out first, so that whatever the input brings up is recorded after it.
  if (recorder_ != nullptr) recorder_->Write(in);
  const QString refused = Refusal(in);
  std::string why;
  window_->Apply(in, why);
  if (window_->Closed()) {
    done(0);
    return;
  }
  Refresh();
  if (!refused.isEmpty()) {
    HintLabel->setText(refused);
    HintLabel->setStyleSheet(QStringLiteral("QLabel { background: #ffe070; color: black; }"));
    HintLabel->setVisible(true);
  }
}

QString TForm3::Refusal(const Input& in) const {
  if (game_ == nullptr || window_ == nullptr || in.Kind != InputKind::Button || !window_->Enabled(in.Button)) return {};
  const Game& g = *game_;
  const UnitWindow& w = *window_;
  const int slot = w.Row() >= 0 && w.Row() < w.RowCount() ? w.RowSlot(w.Row()) : -1;
  if (slot < 1 || slot >= kUnitSlots || g.U(slot).Side != g.PlayerSide) return {};
  switch (in.Button) {
    case WindowButton::Organise:
      if (g.U(slot).SubordinateCount > 0)
        return QStringLiteral("配下を持つ軍団武将は編成できません。配属する武将を選んで「編成」を押します");
      if (!CanJoinCorps(g, slot)) return QStringLiteral("行動を終えた武将は編成できません");
      return {};
    case WindowButton::Detach:
      if (w.SubRow() < 0) return QStringLiteral("独立させる配下武将を下の一覧で選んでください");
      if (g.U(w.SubSlot(w.SubRow())).CanMove == 0) return QStringLiteral("行動を終えた武将は独立できません");
      return {};
    case WindowButton::EndAction:
      if (g.GameState != 7) return QStringLiteral("「行動終了」は、命令を出した軍団の行動を終えるボタンです");
      return {};
    default: return {};
  }
}

void TForm3::Refresh() {
  if (window_ == nullptr) return;
  refreshing_ = true;
  const UnitWindow& w = *window_;
  ListBox1->clear();
  for (int i = 0; i < w.RowCount(); ++i) ListBox1->addItem(QString::fromStdString(w.RowText(w.RowSlot(i))));
  ListBox1->setCurrentRow(w.Row());
  ListBox2->clear();
  for (int i = 0; i < w.SubCount(); ++i) ListBox2->addItem(QString::fromStdString(w.RowText(w.SubSlot(i))));
  if (w.SubRow() >= 0) {
    ListBox2->setCurrentRow(w.SubRow());
  } else {
    ListBox2->setCurrentRow(-1);
    ListBox2->clearSelection();
  }
  for (std::size_t i = 0; i < Values.size(); ++i) Values[i]->setText(QString::fromStdString(w.Values()[i]));
  const int picture = w.Picture();
  if (counters_ != nullptr && picture >= 0 && picture < counters_->size()) {
    Image1->setPixmap(ScreenPixmap((*counters_)[picture], Image1));
  } else {
    Image1->clear();
  }
  Button1->setEnabled(w.Enabled(WindowButton::Move));
  Button3->setEnabled(w.Enabled(WindowButton::Battle));
  Button4->setEnabled(w.Enabled(WindowButton::Detach));
  Button5->setEnabled(w.Enabled(WindowButton::Organise));
  Button6->setEnabled(w.Enabled(WindowButton::Recover));
  Button7->setEnabled(w.Enabled(WindowButton::EndAction));
  Button8->setEnabled(w.Enabled(WindowButton::Replenish));
  Button9->setEnabled(w.Enabled(WindowButton::Fortify));
  Button10->setEnabled(w.Enabled(WindowButton::Standby));
  Guide();
  refreshing_ = false;
}

void TForm3::Guide() {
  const UnitWindow& w = *window_;
  QString hint;
  const int slot = w.Row() >= 0 && w.Row() < w.RowCount() ? w.RowSlot(w.Row()) : -1;
  if (game_ != nullptr && slot >= 1 && slot < kUnitSlots) {
    const Game& g = *game_;
    const Unit& u = g.U(slot);
    const QString name = QString::fromStdString(w.RowText(slot));
    const std::array<QPushButton*, 6> orders = {Button1, Button3, Button6, Button9, Button10, Button7};
    auto grey = [](std::initializer_list<QPushButton*> list) {
      for (QPushButton* b : list) b->setEnabled(false);
    };
    const bool action = g.GameState == 3 || g.GameState == 7;
    if (u.Side != g.PlayerSide) {
      for (QPushButton* b : {Button1, Button3, Button4, Button5, Button6, Button7, Button8, Button9, Button10})
        b->setEnabled(false);
      hint = QStringLiteral("敵の部隊です。様子は見られますが、命令はできません");
    } else if (w.Organising()) {
      hint = QStringLiteral("配属先の軍団武将を上の一覧でクリックしてください");
    } else if (action) {
      if (g.GameState == 7 && slot != g.SelectedUnit) {
        for (QPushButton* b : orders)
          if (b != Button7) b->setEnabled(false);
        hint = QString::fromStdString(w.RowText(g.SelectedUnit)) +
               QStringLiteral(" が行動中です。「行動終了」で終えるまで、ほかの軍団には命令できません");
      } else if (u.CanMove == 0) {
        for (QPushButton* b : orders)
          if (b != Button7 || g.GameState != 7) b->setEnabled(false);
        hint = name + QStringLiteral(" はこのターンの行動を終えています");
      } else {
        // Recovery and field works cost two points; on a city hex the works cost nothing.
        if (u.ActionPoints < 2) {
          grey({Button6});
          if (OnMapHex(u.HexX, u.HexY) && g.H(u.HexX, u.HexY).Terrain < 8) grey({Button9});
          hint = QStringLiteral("行動ポイントが 2 未満のため、回復と野戦築城はできません");
        }
        if (g.GameState == 7) hint = QStringLiteral("続けて命令するか、「行動終了」でこの軍団の行動を終えます");
      }
    } else if (g.GameState == 27) {
      if (u.SubordinateCount > 0)
        hint = QStringLiteral("配下武将を下で選んで「独立」。配下を持つ軍団武将は他の軍団へ編成できません");
      else
        hint = QStringLiteral("「編成」を押し、配属先の軍団武将を上の一覧でクリックします");
    } else if (g.GameState == 2) {
      const int first = TopUnitsAtHex(g, u.HexX, u.HexY).First();
      if (first != -1 && g.U(first).Supplied != 0 && InContactWithEnemy(g, u)) {
        grey({Button8});
        hint = QStringLiteral("敵と接している部隊は補充できません");
      }
    }
  }
  HintLabel->setText(hint);
  HintLabel->setStyleSheet(QStringLiteral("QLabel { background: rgba(255, 255, 255, 210); color: black; }"));
  HintLabel->setVisible(!hint.isEmpty());
}

void TForm3::showEvent(QShowEvent* e) {
  CentreOnMainWindow(this, mainWindow_);
  QDialog::showEvent(e);
}

void TForm3::paintEvent(QPaintEvent* e) {
  QDialog::paintEvent(e);
  if (JPEGImage1.isNull()) return;
  QPainter p(this);
  ScalePicturesFor(p, JPEGImage1.devicePixelRatio());
  p.drawImage(0, 0, JPEGImage1);
}

void TForm3::closeEvent(QCloseEvent* e) {
  if (window_ != nullptr && !window_->Closed()) {
    e->ignore();
    return;
  }
  QDialog::closeEvent(e);
}

}  // namespace milgant
