#include "ui/dialogs/SLG_Unit6.h"

#include <QFrame>
#include <QLabel>

#include "ui/dialogs/Placement.h"

#ifndef MILGANT_VERSION
#define MILGANT_VERSION "1.0"
#endif

namespace milgant {

QString VersionLine() { return QStringLiteral("Version %1").arg(QStringLiteral(MILGANT_VERSION)); }

TForm6::TForm6(QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      mainWindow_(mainWindow) {
  setWindowTitle(QStringLiteral("バージョン"));
  setFixedSize(320, 170);
  Panel1 = new QFrame(this);
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Panel1->setLineWidth(2);
  Panel1->setGeometry(8, 8, 304, 154);
  Label1 = new QLabel(QStringLiteral("ミルガント・改"), Panel1);
  QFont big = Label1->font();
  big.setPixelSize(20);
  Label1->setFont(big);
  Label1->setGeometry(16, 14, 272, 26);
  Label2 = new QLabel(VersionLine(), Panel1);
  Label2->setGeometry(16, 46, 272, 16);
  Label3 = new QLabel(QStringLiteral("戦国の世、二つの軍が城と町を奪い合う\n"
                                     "ヘックス戦略ゲームです。\n"
                                     "陣営を選び、天下を争ってください。"),
                      Panel1);
  Label3->setGeometry(16, 74, 272, 64);
  Label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void TForm6::ShowOpponent(const QString& name) {
  Label2->setText(VersionLine() + QStringLiteral("　難易度 ") + name);
}

void TForm6::ShowAbout() {
  show();
  CentreOnMainWindow(this, mainWindow_, 20);
  raise();
  activateWindow();
}

void TForm6::showEvent(QShowEvent* e) {
  CentreOnMainWindow(this, mainWindow_, 20);
  QWidget::showEvent(e);
}

}  // namespace milgant
