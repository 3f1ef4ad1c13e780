#include "turn/SLG_Unit3.h"

#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

#include "dialogs/Placement.h"
#include "game/Game.h"
#include "widgets/JpegPicture.h"

namespace milgant {

TForm3::TForm3(QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint),
      mainWindow_(mainWindow) {
  setWindowTitle(QStringLiteral("ユニット情報"));
  setFixedSize(520, 420);
  setModal(true);
  auto* corps = new QLabel(QStringLiteral("軍団武将"), this);
  corps->move(8, 8);
  ListBox1 = new QListWidget(this);
  ListBox1->setGeometry(8, 24, 200, 113);
  auto* subs = new QLabel(QStringLiteral("配下武将"), this);
  subs->move(8, 144);
  ListBox2 = new QListWidget(this);
  ListBox2->setGeometry(8, 160, 200, 137);
  Image1 = new QLabel(this);
  Image1->setGeometry(224, 24, 50, 50);
  static const char* const kCaptions[15] = {"所属軍", "武将名", "戦闘修正", "選択モード", "戦闘力/最大戦闘力",
                                            "ステップ/最大ステップ", "行動ポイント", "士気", "采配", "階級",
                                            "補給状態", "行動状態", "部隊状態", "野戦築城", "援軍待機"};
  for (int i = 0; i < 15; ++i) {
    Captions[static_cast<std::size_t>(i)] = new QLabel(QString::fromUtf8(kCaptions[i]), this);
    Captions[static_cast<std::size_t>(i)]->move(288, 24 + 18 * i);
    Values[static_cast<std::size_t>(i)] = new QLabel(this);
    Values[static_cast<std::size_t>(i)]->setGeometry(420, 24 + 18 * i, 92, 14);
  }
  const char* const kButtons[10] = {"移動", "戦闘　合戦", "独立", "編成", "回復",
                                    "行動終了", "補充", "野戦築城", "援軍待機", "Cancel"};
  std::array<QPushButton**, 10> buttonSlots = {&Button1, &Button3, &Button4, &Button5, &Button6,
                                         &Button7, &Button8, &Button9, &Button10, &Button2};
  for (int i = 0; i < 10; ++i) {
    *buttonSlots[static_cast<std::size_t>(i)] = new QPushButton(QString::fromUtf8(kButtons[i]), this);
    (*buttonSlots[static_cast<std::size_t>(i)])->setGeometry(8 + (i % 5) * 102, 320 + (i / 5) * 34, 94, 25);
  }
  connect(Button2, &QPushButton::clicked, this, [this] { done(0); });
  Timer1 = new QTimer(this);
}

bool TForm3::LoadBackground(const QString& workingFolder) {
  JPEGImage1 = LoadJpeg(workingFolder + QStringLiteral("/form3.JPG"));
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

void TForm3::showEvent(QShowEvent* e) {
  CentreOnMainWindow(this, mainWindow_);
  QDialog::showEvent(e);
}

void TForm3::paintEvent(QPaintEvent* e) {
  QDialog::paintEvent(e);
  if (JPEGImage1.isNull()) return;
  QPainter p(this);
  p.drawImage(0, 0, JPEGImage1);
}

}  // namespace milgant
