#include "ui/dialogs/SLG_Unit8.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

#include "ui/dialogs/Placement.h"

namespace milgant {

TForm8::TForm8(QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint),
      mainWindow_(mainWindow) {
  setFixedSize(297, 114);
  setModal(true);
  Label1 = new QLabel(this);
  Label1->move(8, 8);
  Label1->resize(281, 36);
  Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Button1 = new QPushButton(QStringLiteral("OK"), this);
  Button1->setGeometry(16, 48, 75, 25);
  Button2 = new QPushButton(QStringLiteral("Cancel"), this);
  Button2->setGeometry(208, 48, 75, 25);
  Button1->setAutoDefault(false);
  Button2->setAutoDefault(false);
  connect(Button1, &QPushButton::clicked, this, [this] {
    Answered = 1;
    choice_ = 0;
    done(1);
  });
  connect(Button2, &QPushButton::clicked, this, [this] {
    Answered = 1;
    choice_ = 1;
    done(1);
  });
}

int TForm8::Choose(const QString& caption, const QString& text, const QString& first, const QString& second) {
  Button1->move(16, 48);
  Button2->setVisible(true);
  Label1->setText(LabelText(text));
  Label1->adjustSize();
  setWindowTitle(caption);
  Button1->setText(first);
  Button2->setText(second);
  Answered = 0;
  choice_ = -1;
  exec();
  Button1->setText(QStringLiteral("OK"));
  Button2->setText(QStringLiteral("Cancel"));
  return choice_;
}

void TForm8::ForceClose() {
  if (!isVisible()) return;
  Answered = 1;
  choice_ = -1;
  done(0);
}

void TForm8::showEvent(QShowEvent* e) {
  CentreOnMainWindow(this, mainWindow_);
  QDialog::showEvent(e);
}

void TForm8::closeEvent(QCloseEvent* e) {
  if (Answered == 0) {
    e->ignore();
    return;
  }
  QDialog::closeEvent(e);
}

void TForm8::reject() {
  if (Answered != 0) QDialog::reject();
}

}  // namespace milgant
