#include "ui/dialogs/SLG_Unit2.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

#include "ui/dialogs/Placement.h"

namespace milgant {

TForm2::TForm2(QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      mainWindow_(mainWindow) {
  setFixedSize(292, 114);
  setModal(true);
  Label1 = new QLabel(this);
  Label1->move(16, 8);
  Label1->resize(268, 36);
  Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Button1 = new QPushButton(QStringLiteral("OK"), this);
  Button1->setGeometry(16, 48, 75, 25);
  // The second button always reads "Cancel"; the window's first design spelt it otherwise.
  Button2 = new QPushButton(QStringLiteral("Cancel"), this);
  Button2->setGeometry(200, 48, 75, 25);
  Button1->setAutoDefault(false);
  Button2->setAutoDefault(false);
  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
}

void TForm2::Message(const QString& caption, const QString& text) {
  Button1->move(80, 48);
  Button2->setVisible(false);
  Button2->setEnabled(false);
  Label1->setText(LabelText(text));
  Label1->adjustSize();
  setWindowTitle(caption);
  Answered = 0;
  exec();
}

bool TForm2::Ask(const QString& caption, const QString& text) {
  Button1->move(16, 48);
  Button2->setEnabled(true);
  Button2->setVisible(true);
  Label1->setText(LabelText(text));
  Label1->adjustSize();
  setWindowTitle(caption);
  Answered = 0;
  Result = 0;
  exec();
  return Result == 1;
}

bool TForm2::Question(const QString& caption, const QString& text) { return Ask(caption, text); }

bool TForm2::CustomQuestion(const QString& caption, const QString& text, const QString& first,
                            const QString& second) {
  Button1->setText(first);
  Button2->setText(second);
  const bool answer = Ask(caption, text);
  Button1->setText(QStringLiteral("OK"));
  Button2->setText(QStringLiteral("Cancel"));
  return answer;
}

void TForm2::ForceClose() {
  if (!isVisible()) return;
  Answered = 1;
  Result = 0;
  done(0);
}

void TForm2::Button1Click() {
  Answered = 1;
  Result = 1;
  done(1);
}

void TForm2::Button2Click() {
  Answered = 1;
  Result = 0;
  done(0);
}

void TForm2::showEvent(QShowEvent* e) {
  CentreOnMainWindow(this, mainWindow_);
  QDialog::showEvent(e);
}

void TForm2::closeEvent(QCloseEvent* e) {
  // Only a button answers the window.
  if (Answered == 0) {
    e->ignore();
    return;
  }
  QDialog::closeEvent(e);
}

void TForm2::reject() {
  if (Answered != 0) QDialog::reject();
}

}  // namespace milgant
